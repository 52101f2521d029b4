// The login and change-password screens, driven through the real screen set
// in a temporary program folder holding the initial password "rilegora".
#include "access/passwordstore.h"
#include "access/tfrmcambiapassword.h"
#include "access/tfrmpassword.h"

#include "app/screenset.h"
#include "app/tfrmavvio.h"

#include "common/testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <memory>

namespace {
// The settings file with other sections around the password, CR LF endings.
const QByteArray settings = "; Impostazioni\r\n"
                            "[Setup]\r\n"
                            "Lingua=it\r\n"
                            "\r\n"
                            "[Accesso]\r\n"
                            "Valore=4EA98ED2022186BA\r\n"
                            "[Fine]\r\n"
                            "x=y\r\n";

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList visibleScreens()
{
    QStringList names;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->objectName().startsWith(QLatin1String("Tfrm")))
            names << w->objectName();
    }
    names.sort();
    return names;
}
} // namespace

class TestPasswordScreens : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { prepareScreenTests(); }
    void init();
    void cleanup();

    void startShowsOnlyTheLogin();
    void blanksOnlyDoNothing();
    void rightPasswordOpensTheLauncher_data();
    void rightPasswordOpensTheLauncher();
    void wrongPassword();
    void unreadableStoredPassword_data();
    void unreadableStoredPassword();
    void missingFileOpensNothing();

    void changeScreenOpensEmpty();
    void changeOkNeedsAllThreeBoxes();
    void changeEnterChainNeverPressesOk();
    void changeOldPasswordWrong();
    void changeConfirmationDiffersInCase();
    void changeSucceeds();
    void changeNewPasswordTheSchemeCannotHold_data();
    void changeNewPasswordTheSchemeCannotHold();
    void changeLongestLatin1Password();
    void changeCannotWrite_data();
    void changeCannotWrite();
    void chiudiGoesBackToTheLogin();
    void escapeLeavesTheScreensAlone();

    void esciEndsTheProgram();

private:
    QString settingsPath() const { return m_folder->file(QStringLiteral("unins000.dll")); }
    void writeSettings(const QByteArray &bytes);
    static void type(QLineEdit *box, const QString &text);
    void login(const QString &typed, bool byEnter = true);
    void openChange();
    void fillChange(const QString &old, const QString &typedNew, const QString &confirmation);

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<ScreenSet> m_set;
    TfrmPassword *m_login = nullptr;
    TfrmCambiaPassword *m_change = nullptr;
};

void TestPasswordScreens::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    writeSettings(settings);
    m_set = std::make_unique<ScreenSet>();
    m_login = m_set->frmPassword;
    m_change = m_set->frmCambiaPassword;
    // As the program starts.
    QWidget *first = m_set->firstScreen();
    QCOMPARE(first, static_cast<QWidget *>(m_login));
    first->show();
    QVERIFY(QTest::qWaitForWindowActive(first));
}

void TestPasswordScreens::cleanup()
{
    m_set.reset();
    m_folder.reset();
}

void TestPasswordScreens::writeSettings(const QByteArray &bytes)
{
    QFile file(settingsPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

void TestPasswordScreens::type(QLineEdit *box, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(box, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

void TestPasswordScreens::login(const QString &typed, bool byEnter)
{
    control<QLineEdit>(m_login, "txtPassword")->clear();
    type(control<QLineEdit>(m_login, "txtPassword"), typed);
    if (byEnter)
        QTest::keyClick(control<QLineEdit>(m_login, "txtPassword"), Qt::Key_Return);
    else
        QTest::mouseClick(control<QPushButton>(m_login, "cmdOK"), Qt::LeftButton);
}

void TestPasswordScreens::openChange()
{
    QTest::mouseClick(control<QPushButton>(m_login, "btnCambiaPassword"), Qt::LeftButton);
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmCambiaPassword")});
    QVERIFY(QTest::qWaitForWindowActive(m_change));
}

void TestPasswordScreens::fillChange(const QString &old, const QString &typedNew, const QString &confirmation)
{
    QTest::keyClicks(control<QLineEdit>(m_change, "txtPasswordOld"), old);
    QTest::keyClicks(control<QLineEdit>(m_change, "txtPasswordNew"), typedNew);
    QTest::keyClicks(control<QLineEdit>(m_change, "txtConferma"), confirmation);
}

void TestPasswordScreens::startShowsOnlyTheLogin()
{
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmPassword")});
    QCOMPARE(m_login->windowTitle(), QStringLiteral(" Rilegora - Autenticazione"));
    QCOMPARE(m_login->size(), QSize(388, 405));
    QVERIFY(control<QLineEdit>(m_login, "txtPassword")->text().isEmpty());
    QCOMPARE(control<QLineEdit>(m_login, "txtPassword")->echoMode(), QLineEdit::Password);
    QVERIFY(!control<QPushButton>(m_login, "cmdOK")->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), control<QLineEdit>(m_login, "txtPassword"));
    QVERIFY(control<QWidget>(m_login, "effPassword")->isVisible());
    QCOMPARE(control<QWidget>(m_login, "effPassword")->geometry(), QRect(32, 218, 238, 30));

    // The frame follows the focus.
    control<QPushButton>(m_login, "cmdEsci")->setFocus(Qt::TabFocusReason);
    QVERIFY(!control<QWidget>(m_login, "effPassword")->isVisible());
    control<QLineEdit>(m_login, "txtPassword")->setFocus(Qt::MouseFocusReason);
    QVERIFY(control<QWidget>(m_login, "effPassword")->isVisible());
}

void TestPasswordScreens::blanksOnlyDoNothing()
{
    MessageCatcher catcher;
    QTest::keyClicks(control<QLineEdit>(m_login, "txtPassword"), QStringLiteral("   "));
    QVERIFY(!control<QPushButton>(m_login, "cmdOK")->isEnabled());
    QTest::keyClick(control<QLineEdit>(m_login, "txtPassword"), Qt::Key_Return);
    QTest::keyClick(control<QLineEdit>(m_login, "txtPassword"), Qt::Key_Enter);
    QVERIFY(catcher.seen().isEmpty());
    QCOMPARE(control<QLineEdit>(m_login, "txtPassword")->text(), QStringLiteral("   "));
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmPassword")});

    QTest::keyClick(control<QLineEdit>(m_login, "txtPassword"), Qt::Key_X);
    QVERIFY(control<QPushButton>(m_login, "cmdOK")->isEnabled());
    QTest::keyClick(control<QLineEdit>(m_login, "txtPassword"), Qt::Key_Backspace);
    QVERIFY(!control<QPushButton>(m_login, "cmdOK")->isEnabled());
}

void TestPasswordScreens::rightPasswordOpensTheLauncher_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::newRow("lower case, Enter") << QStringLiteral("rilegora") << true;
    QTest::newRow("upper case, OK") << QStringLiteral("RILEGORA") << false;
    QTest::newRow("mixed case with blanks around") << QStringLiteral("  RiLeGoRa ") << true;
}

void TestPasswordScreens::rightPasswordOpensTheLauncher()
{
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    MessageCatcher catcher;
    login(typed, byEnter);
    QCOMPARE(catcher.texts(), QStringList());
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmAvvio")});
    QCOMPARE(control<QLineEdit>(m_login, "txtPassword")->text(), typed);
    QCOMPARE(readAll(settingsPath()), settings);
}

void TestPasswordScreens::wrongPassword()
{
    MessageCatcher catcher;
    login(QStringLiteral("rilegor"), false);
    QCOMPARE(catcher.seen().size(), 1);
    const MessageCatcher::Seen box = catcher.seen().first();
    QCOMPARE(box.text, QStringLiteral("Attenzione: password errata."));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(control<QLineEdit>(m_login, "txtPassword")->text().isEmpty());
    QVERIFY(!control<QPushButton>(m_login, "cmdOK")->isEnabled());
    QCOMPARE(m_login->focusWidget(), control<QLineEdit>(m_login, "txtPassword"));
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmPassword")});

    // "è" and "È" are different characters; any number of attempts is allowed.
    login(QStringLiteral("rilegorà"));
    login(QStringLiteral("rilegora x"));
    QCOMPARE(catcher.seen().size(), 3);
    login(QStringLiteral("rilegora"));
    QCOMPARE(catcher.seen().size(), 3);
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmAvvio")});
}

void TestPasswordScreens::unreadableStoredPassword_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("not hexadecimal") << QByteArray("[Accesso]\r\nValore=4EA98ED2022186BZ\r\n");
    QTest::newRow("folder in place of the file") << QByteArray();
}

void TestPasswordScreens::unreadableStoredPassword()
{
    QFETCH(QByteArray, stored);
    if (stored.isEmpty()) {
        QVERIFY(QFile::remove(settingsPath()));
        QVERIFY(QDir().mkdir(settingsPath()));
    } else {
        writeSettings(stored);
    }
    MessageCatcher catcher;
    login(QStringLiteral("rilegora"));
    QCOMPARE(catcher.texts(),
             QStringList{QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della "
                                        "password. Si consiglia di reinstallare il software.")});
    QCOMPARE(catcher.seen().first().icon, QMessageBox::NoIcon);
    // The screen is left as it was.
    QCOMPARE(control<QLineEdit>(m_login, "txtPassword")->text(), QStringLiteral("rilegora"));
    QVERIFY(control<QPushButton>(m_login, "cmdOK")->isEnabled());
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmPassword")});
    if (!stored.isEmpty())
        QCOMPARE(readAll(settingsPath()), stored);
}

void TestPasswordScreens::missingFileOpensNothing()
{
    QVERIFY(QFile::remove(settingsPath()));
    MessageCatcher catcher;
    login(QStringLiteral("rilegora"));
    // Even called directly with an empty box, the empty stored password opens nothing.
    m_login->cmdOKClick();
    QCOMPARE(catcher.texts(), QStringList(2, QStringLiteral("Attenzione: password errata.")));
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmPassword")});
    QVERIFY(!QFile::exists(settingsPath()));
}

void TestPasswordScreens::changeScreenOpensEmpty()
{
    openChange();
    QCOMPARE(m_change->windowTitle(), QStringLiteral(" Cambia password"));
    QCOMPARE(m_change->size(), QSize(411, 418));
    QCOMPARE(control<QPushButton>(m_change, "cmdEsci")->text(), QStringLiteral("Chiudi"));
    for (QLineEdit *box :
         {control<QLineEdit>(m_change, "txtPasswordOld"), control<QLineEdit>(m_change, "txtPasswordNew"),
          control<QLineEdit>(m_change, "txtConferma")}) {
        QVERIFY(box->text().isEmpty());
        QCOMPARE(box->echoMode(), QLineEdit::Password);
    }
    QVERIFY(!control<QPushButton>(m_change, "cmdOK")->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), control<QLineEdit>(m_change, "txtPasswordOld"));
    QVERIFY(control<QWidget>(m_change, "effPasswordOld")->isVisible());
    QVERIFY(!control<QWidget>(m_change, "effPasswordNew")->isVisible());
    QVERIFY(!control<QWidget>(m_change, "effConferma")->isVisible());
    QCOMPARE(control<QWidget>(m_change, "effConferma")->geometry(), QRect(12, 301, 361, 30));
}

void TestPasswordScreens::changeOkNeedsAllThreeBoxes()
{
    openChange();
    QTest::keyClicks(control<QLineEdit>(m_change, "txtPasswordOld"), QStringLiteral("a"));
    QTest::keyClicks(control<QLineEdit>(m_change, "txtPasswordNew"), QStringLiteral("b"));
    QVERIFY(!control<QPushButton>(m_change, "cmdOK")->isEnabled());
    QTest::keyClicks(control<QLineEdit>(m_change, "txtConferma"), QStringLiteral("  "));
    QVERIFY(!control<QPushButton>(m_change, "cmdOK")->isEnabled()); // blanks only do not count
    QTest::keyClicks(control<QLineEdit>(m_change, "txtConferma"), QStringLiteral("b"));
    QVERIFY(control<QPushButton>(m_change, "cmdOK")->isEnabled());
    for (QLineEdit *box :
         {control<QLineEdit>(m_change, "txtPasswordOld"), control<QLineEdit>(m_change, "txtPasswordNew"),
          control<QLineEdit>(m_change, "txtConferma")}) {
        const QString kept = box->text();
        box->clear();
        QVERIFY(!control<QPushButton>(m_change, "cmdOK")->isEnabled());
        box->setText(kept);
        QVERIFY(control<QPushButton>(m_change, "cmdOK")->isEnabled());
    }
}

void TestPasswordScreens::changeEnterChainNeverPressesOk()
{
    openChange();
    MessageCatcher catcher;
    fillChange(QStringLiteral("rilegora"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    QVERIFY(control<QPushButton>(m_change, "cmdOK")->isEnabled());

    control<QLineEdit>(m_change, "txtPasswordOld")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(control<QLineEdit>(m_change, "txtPasswordOld"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(m_change, "txtPasswordNew"));
    QVERIFY(control<QWidget>(m_change, "effPasswordNew")->isVisible());
    QVERIFY(!control<QWidget>(m_change, "effPasswordOld")->isVisible());
    QTest::keyClick(control<QLineEdit>(m_change, "txtPasswordNew"), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(m_change, "txtConferma"));
    QTest::keyClick(control<QLineEdit>(m_change, "txtConferma"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(m_change, "txtPasswordOld"));
    QVERIFY(control<QWidget>(m_change, "effPasswordOld")->isVisible());
    QVERIFY(!control<QWidget>(m_change, "effConferma")->isVisible());

    QVERIFY(catcher.seen().isEmpty());
    QCOMPARE(readAll(settingsPath()), settings);
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmCambiaPassword")});
}

void TestPasswordScreens::changeOldPasswordWrong()
{
    openChange();
    MessageCatcher catcher;
    fillChange(QStringLiteral("sbagliata"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    QTest::mouseClick(control<QPushButton>(m_change, "cmdOK"), Qt::LeftButton);
    QCOMPARE(catcher.texts(), QStringList{QStringLiteral("Attenzione: vecchia password errata.")});
    QCOMPARE(catcher.seen().first().icon, QMessageBox::NoIcon);
    QVERIFY(control<QLineEdit>(m_change, "txtPasswordOld")->text().isEmpty());
    QCOMPARE(control<QLineEdit>(m_change, "txtPasswordNew")->text(), QStringLiteral("nuova"));
    QCOMPARE(control<QLineEdit>(m_change, "txtConferma")->text(), QStringLiteral("nuova"));
    QVERIFY(!control<QPushButton>(m_change, "cmdOK")->isEnabled());
    QCOMPARE(m_change->focusWidget(), control<QLineEdit>(m_change, "txtPasswordOld"));
    QCOMPARE(readAll(settingsPath()), settings);
}

void TestPasswordScreens::changeConfirmationDiffersInCase()
{
    openChange();
    MessageCatcher catcher;
    fillChange(QStringLiteral("rilegora"), QStringLiteral("Nuova"), QStringLiteral("nuova"));
    QTest::mouseClick(control<QPushButton>(m_change, "cmdOK"), Qt::LeftButton);
    QCOMPARE(catcher.texts(),
             QStringList{QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. "
                                        "E' necessario reinserire entrambi i valori.")});
    QCOMPARE(control<QLineEdit>(m_change, "txtPasswordOld")->text(), QStringLiteral("rilegora"));
    QVERIFY(control<QLineEdit>(m_change, "txtPasswordNew")->text().isEmpty());
    QVERIFY(control<QLineEdit>(m_change, "txtConferma")->text().isEmpty());
    QCOMPARE(m_change->focusWidget(), control<QLineEdit>(m_change, "txtPasswordNew"));
    QCOMPARE(readAll(settingsPath()), settings);
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmCambiaPassword")});
}

void TestPasswordScreens::changeSucceeds()
{
    control<QLabel>(m_login, "lblMemory")->setText(QStringLiteral("avvio"));
    QTest::keyClicks(control<QLineEdit>(m_login, "txtPassword"), QStringLiteral("abc"));
    openChange();
    MessageCatcher catcher;
    // Blanks around the new password are not part of it; trimmed, the two
    // boxes match exactly.
    fillChange(QStringLiteral(" RILEGORA "), QStringLiteral("Nuova "), QStringLiteral(" Nuova"));
    QTest::mouseClick(control<QPushButton>(m_change, "cmdOK"), Qt::LeftButton);
    QCOMPARE(catcher.texts(), QStringList{QStringLiteral("Modifica della password completata con successo.")});
    QCOMPARE(catcher.seen().first().icon, QMessageBox::NoIcon);

    // Only the value changed in the file.
    QCOMPARE(readAll(settingsPath()), QByteArray(settings).replace("4EA98ED2022186BA", "529424113C"));

    // Back at the login, which asks again.
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmPassword")});
    QVERIFY(control<QLineEdit>(m_login, "txtPassword")->text().isEmpty());
    QVERIFY(control<QLabel>(m_login, "lblMemory")->text().isEmpty());
    QVERIFY(!control<QPushButton>(m_login, "cmdOK")->isEnabled());
    QCOMPARE(m_login->focusWidget(), control<QLineEdit>(m_login, "txtPassword"));

    catcher.clear();
    login(QStringLiteral("rilegora"));
    QCOMPARE(catcher.texts(), QStringList{QStringLiteral("Attenzione: password errata.")});
    login(QStringLiteral("nuova"));
    QCOMPARE(catcher.texts().size(), 1);
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmAvvio")});
}

void TestPasswordScreens::changeNewPasswordTheSchemeCannotHold_data()
{
    QTest::addColumn<QString>("password");
    QTest::newRow("256 characters") << QString(256, QLatin1Char('a'));
    QTest::newRow("euro sign") << QStringLiteral("prezzo€");
    QTest::newRow("U+0100") << QStringLiteral("Āmbito");
}

void TestPasswordScreens::changeNewPasswordTheSchemeCannotHold()
{
    QFETCH(QString, password);
    openChange();
    MessageCatcher catcher;
    control<QLineEdit>(m_change, "txtPasswordOld")->setText(QStringLiteral("rilegora"));
    control<QLineEdit>(m_change, "txtPasswordNew")->setText(password);
    control<QLineEdit>(m_change, "txtConferma")->setText(password);
    QTest::mouseClick(control<QPushButton>(m_change, "cmdOK"), Qt::LeftButton);
    QCOMPARE(catcher.texts(), QStringList{TfrmCambiaPassword::cannotHoldMessage()});
    QCOMPARE(catcher.seen().first().icon, QMessageBox::NoIcon);
    QVERIFY(
        catcher.texts().first().startsWith(QStringLiteral("Attenzione: la nuova password non può essere memorizzata")));
    QCOMPARE(readAll(settingsPath()), settings);
    QCOMPARE(control<QLineEdit>(m_change, "txtPasswordOld")->text(), QStringLiteral("rilegora"));
    QVERIFY(control<QLineEdit>(m_change, "txtPasswordNew")->text().isEmpty());
    QVERIFY(control<QLineEdit>(m_change, "txtConferma")->text().isEmpty());
    QCOMPARE(m_change->focusWidget(), control<QLineEdit>(m_change, "txtPasswordNew"));
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmCambiaPassword")});
}

void TestPasswordScreens::changeLongestLatin1Password()
{
    // 255 characters, with an accented letter, still fit.
    const QString password = QString(254, QLatin1Char('x')) + QStringLiteral("è");
    openChange();
    MessageCatcher catcher;
    control<QLineEdit>(m_change, "txtPasswordOld")->setText(QStringLiteral("rilegora"));
    control<QLineEdit>(m_change, "txtPasswordNew")->setText(password);
    control<QLineEdit>(m_change, "txtConferma")->setText(password);
    QTest::mouseClick(control<QPushButton>(m_change, "cmdOK"), Qt::LeftButton);
    QCOMPARE(catcher.texts(), QStringList{QStringLiteral("Modifica della password completata con successo.")});
    catcher.clear();
    login(QString(254, QLatin1Char('X')) + QStringLiteral("È"));
    QCOMPARE(catcher.texts(), QStringList{QStringLiteral("Attenzione: password errata.")});
    login(QString(254, QLatin1Char('X')) + QStringLiteral("è"));
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmAvvio")});
}

void TestPasswordScreens::changeCannotWrite_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("blockWrite");
    QTest::newRow("file cannot be written") << settings << true;
    QTest::newRow("stored value not hexadecimal") << QByteArray("[Accesso]\r\nValore=4EA9XX\r\n") << false;
}

void TestPasswordScreens::changeCannotWrite()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, blockWrite);
    writeSettings(stored);
    // The disk refuses the new contents.
    if (blockWrite)
        PasswordStore::setWriteHook([](PasswordStore::WriteStep) { return false; });
    const auto unblock = qScopeGuard([] { PasswordStore::setWriteHook({}); });
    openChange();
    MessageCatcher catcher;
    fillChange(QStringLiteral("rilegora"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    QTest::mouseClick(control<QPushButton>(m_change, "cmdOK"), Qt::LeftButton);
    QCOMPARE(catcher.texts(),
             QStringList{QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della "
                                        "password. Si consiglia di reinstallare il software.")});
    QCOMPARE(catcher.seen().first().icon, QMessageBox::NoIcon);
    QCOMPARE(readAll(settingsPath()), stored);
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmCambiaPassword")});
    QCOMPARE(control<QLineEdit>(m_change, "txtPasswordNew")->text(), QStringLiteral("nuova"));

    if (blockWrite) {
        // The old password still opens the program.
        QTest::mouseClick(control<QPushButton>(m_change, "cmdEsci"), Qt::LeftButton);
        login(QStringLiteral("rilegora"));
        QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmAvvio")});
    }
}

void TestPasswordScreens::chiudiGoesBackToTheLogin()
{
    QTest::keyClicks(control<QLineEdit>(m_login, "txtPassword"), QStringLiteral("abc"));
    openChange();
    fillChange(QStringLiteral("rilegora"), QStringLiteral("nuova"), QStringLiteral("nuova"));
    QTest::mouseClick(control<QPushButton>(m_change, "cmdEsci"), Qt::LeftButton);
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmPassword")});
    QVERIFY(control<QLineEdit>(m_login, "txtPassword")->text().isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), control<QLineEdit>(m_login, "txtPassword"));
    QCOMPARE(readAll(settingsPath()), settings);

    // Shown again, the change screen starts empty.
    openChange();
    QVERIFY(control<QLineEdit>(m_change, "txtPasswordOld")->text().isEmpty());
    QVERIFY(control<QLineEdit>(m_change, "txtPasswordNew")->text().isEmpty());
    QVERIFY(control<QLineEdit>(m_change, "txtConferma")->text().isEmpty());
    QVERIFY(!control<QPushButton>(m_change, "cmdOK")->isEnabled());
}

void TestPasswordScreens::escapeLeavesTheScreensAlone()
{
    QTest::keyClick(control<QLineEdit>(m_login, "txtPassword"), Qt::Key_Escape);
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmPassword")});
    openChange();
    QTest::keyClick(control<QLineEdit>(m_change, "txtPasswordOld"), Qt::Key_Escape);
    QCOMPARE(visibleScreens(), QStringList{QStringLiteral("TfrmCambiaPassword")});
}

void TestPasswordScreens::esciEndsTheProgram()
{
    // The event loop that the program runs ends on "Esci".
    QTimer::singleShot(0, this,
                       [this] { QTest::mouseClick(control<QPushButton>(m_login, "cmdEsci"), Qt::LeftButton); });
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m_login->isVisible());
}

QTEST_MAIN(TestPasswordScreens)
#include "tst_passwordscreens.moc"
