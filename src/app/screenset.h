#pragma once

class TfrmPassword;
class TfrmAllegaCartella;
class TfrmAnteprimaLibri;
class TfrmAvvio;
class TfrmCambiaPassword;
class TfrmCodici_Dewey;
class TfrmGuida;
class TfrmInfo;
class TfrmLibri;
class TfrmSlideshow_Libri;
class TfrmSplash;
class TfrmStampaLibri;
class TfrmTrovaLibri;
class TfrmZoom;
class TfrmCreaCatalogo;
class TfrmApriCatalogo;
class TfrmListinoPrezzi;
class TfrmAnteprimaProdotto;
class TfrmStampaProdotto;
class TfrmExpLibri;
class QWidget;

/// The twenty screens, created once at start-up in this order. The seven
/// long-lived ones are shown and hidden for the whole run; the instances of
/// the other thirteen are never shown (each use makes a fresh one).
class ScreenSet
{
public:
    ScreenSet();
    ~ScreenSet();
    ScreenSet(const ScreenSet &) = delete;
    ScreenSet &operator=(const ScreenSet &) = delete;

    /// The set made at start-up, or nullptr when none exists (screens tested alone).
    static ScreenSet *current();

    /// The first window shown when the event loop starts.
    QWidget *firstScreen() const;

    TfrmPassword *frmPassword;
    TfrmAllegaCartella *frmAllegaCartella;
    TfrmAnteprimaLibri *frmAnteprimaLibri;
    TfrmAvvio *frmAvvio;
    TfrmCambiaPassword *frmCambiaPassword;
    TfrmCodici_Dewey *frmCodici_Dewey;
    TfrmGuida *frmGuida;
    TfrmInfo *frmInfo;
    TfrmLibri *frmLibri;
    TfrmSlideshow_Libri *frmSlideshow_Libri;
    TfrmSplash *frmSplash;
    TfrmStampaLibri *frmStampaLibri;
    TfrmTrovaLibri *frmTrovaLibri;
    TfrmZoom *frmZoom;
    TfrmCreaCatalogo *frmCreaCatalogo;
    TfrmApriCatalogo *frmApriCatalogo;
    TfrmListinoPrezzi *frmListinoPrezzi;
    TfrmAnteprimaProdotto *frmAnteprimaProdotto;
    TfrmStampaProdotto *frmStampaProdotto;
    TfrmExpLibri *frmExpLibri;

private:
    /// Connects the screens' hand-over signals.
    void wire();
};
