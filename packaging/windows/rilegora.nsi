; The Windows installer of Rilegora (makensis, from tools/build-windows.sh):
;   makensis -DVERSION=1.0.0.0 -DSOURCE=<program folder> -DOUTFILE=<setup.exe>
;            -DICON=<rilegora.ico> -DUNINSTALL_LIST=<uninstall.nsh> rilegora.nsi
; Per user, without administrator rights, into the user's own program
; folder %LOCALAPPDATA%\Programs\Rilegora, where the program writes its data
; files. The password store unins000.dll is written only where none exists,
; so a reinstall keeps a changed password. The uninstaller removes the
; program's files and never the user's data. /S installs and uninstalls
; silently.
; A 64-bit installer for the 64-bit program (Wine without its 32-bit part
; runs it too).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"

!define APPNAME "Rilegora"
!define VENDOR "Rilegora Software"
!define UNINSTALLER "Disinstalla Rilegora.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Rilegora"

Name "${APPNAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Rilegora"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APPNAME} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=1040 "CompanyName" "${VENDOR}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${APPNAME}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "${VENDOR}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\rilegora.exe"
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Il programma verrà rimosso dalla cartella qui sotto. I dati restano: schedario, cataloghi, copertine, foto, allegati, esportazione e password rimangono nella cartella e si possono copiare o cancellare a mano."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Section "Rilegora"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  ; The program: replaced by every install.
  SetOverwrite on
  File /r /x unins000.dll "${SOURCE}\*.*"
  ; The password store with the initial password: only where none exists.
  SetOverwrite off
  File "${SOURCE}\unins000.dll"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortCut "$SMPROGRAMS\${APPNAME}.lnk" "$INSTDIR\rilegora.exe" "" "$INSTDIR\rilegora.exe" 0
  CreateShortCut "$DESKTOP\${APPNAME}.lnk" "$INSTDIR\rilegora.exe" "" "$INSTDIR\rilegora.exe" 0

  ; "App e funzionalità", for this user only.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APPNAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${VENDOR}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\rilegora.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${APPNAME}.lnk"
  Delete "$DESKTOP\${APPNAME}.lnk"
  ; The files the installer put there, one by one (made from the ZIP's
  ; folder); the user's data files and the password store stay.
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Empty when the program held no data; otherwise it stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  IfFileExists "$INSTDIR\*.*" 0 +2
    MessageBox MB_OK|MB_ICONINFORMATION "Rilegora è stato rimosso. I dati (schedario, cataloghi, copertine, foto, allegati, esportazione e password) sono rimasti nella cartella $INSTDIR." /SD IDOK
SectionEnd
