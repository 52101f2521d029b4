#include "tfrmlibri.h"

#include "core/bookarchive.h"

#include "books/tfrmallegacartella.h"
#include "books/tfrmslideshow_libri.h"
#include "books/tfrmzoom.h"
#include "core/browsing.h"
#include "core/helptopics.h"
#include "core/logging.h"
#include "core/recordsave.h"
#include "core/texttrim.h"
#include "core/writelock.h"
#include "kit/conventions.h"
#include "kit/covers.h"
#include "kit/decor.h"
#include "kit/filechooser.h"
#include "kit/messages.h"
#include "kit/picturewidgets.h"
#include "kit/recordscreen.h"
#include "kit/regional.h"
#include "kit/screens.h"
#include "kit/tfrmguida.h"
#include "output/tfrmanteprimalibri.h"
#include "output/tfrmexplibri.h"
#include "output/tfrmstampalibri.h"
#include "search/tfrmcodici_dewey.h"
#include "search/tfrmtrovalibri.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {
QString asset(const QString &name)
{
    return QStringLiteral(":/assets/") + name;
}

QWidget *whitePanel(QWidget *parent, const QString &name, const QRect &geometry)
{
    return Decor::rectangle(parent, name, geometry, Look::White, 0xFFD8E5EF);
}

QLabel *fieldLabel(QWidget *parent, const QString &name, const QString &text, int x, int y, int w)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(x, y, w, 18);
    label->setFont(Look::verdana(9, true));
    label->setStyleSheet(QStringLiteral("color: white;"));
    return label;
}
} // namespace

TfrmLibri::TfrmLibri(QWidget *parent) : QWidget(parent)
{
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmLibri"), QStringLiteral(" Rilegora - Schedario Libri"));
    Look::setGround(this, Look::CardBlue);
    buildLayout();
}

TfrmLibri::~TfrmLibri() = default;

void TfrmLibri::buildLayout()
{
    QWidget *pan = Screens::addCentredContainer(this);

    // Top row of commands, in groups on white panels.
    struct Group
    {
        const char *panel;
        int x, width;
    };
    const Group groups[] = {{"panComandi", 6, 213},  {"panAnteprima", 225, 158}, {"panStampa", 389, 158},
                            {"panNaviga", 553, 236}, {"panStrumenti", 795, 90},  {"panUscita", 891, 99}};
    QList<QWidget *> panels;
    for (const Group &g : groups)
        panels.append(whitePanel(pan, QString::fromLatin1(g.panel), QRect(g.x, 6, g.width, 51)));

    auto icon = [&](const char *name, QWidget *panel, int x) {
        return Decor::command(panel, QString::fromLatin1(name), QString::fromLatin1(name) + QStringLiteral(".svg"),
                              QRect(x, 6, 37, 39));
    };
    cmdNuovo = icon("cmdNuovo", panels[0], 6);
    cmdDuplica = icon("cmdDuplica", panels[0], 47);
    cmdSalva = icon("cmdSalva", panels[0], 88);
    cmdTrova = icon("cmdTrova", panels[0], 129);
    cmdFile = icon("cmdFile", panels[0], 170);
    cmdAnteprima =
        new PictureButton(QStringLiteral("cmdAnteprima"), asset(QStringLiteral("cmdAnteprima.svg")), panels[1]);
    cmdAnteprima->setGeometry(5, 10, 148, 32);
    cmdStampa = new PictureButton(QStringLiteral("cmdStampa"), asset(QStringLiteral("cmdStampa.svg")), panels[2]);
    cmdStampa->setGeometry(5, 10, 148, 32);
    cmdPrimo = icon("cmdPrimo", panels[3], 6);
    cmdIndietro = icon("cmdIndietro", panels[3], 47);
    lblPosizione = new QLabel(panels[3]);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setGeometry(88, 6, 60, 39);
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setFont(Look::verdana(12, true));
    lblPosizione->setStyleSheet(QStringLiteral("color: #1f3f66;"));
    cmdAvanti = icon("cmdAvanti", panels[3], 152);
    cmdUltimo = icon("cmdUltimo", panels[3], 193);
    cmdEsporta = icon("cmdEsporta", panels[4], 6);
    cmdSlideshow = icon("cmdSlideshow", panels[4], 47);
    cmdGuida = icon("cmdGuida", panels[5], 8);
    cmdEsci = icon("cmdEsci", panels[5], 54);

    // Cover box and its button strip.
    QWidget *shpFoto = whitePanel(pan, QStringLiteral("shpFoto"), QRect(6, 64, 311, 413));
    imgFoto = new PictureBox(QStringLiteral("imgFoto"), shpFoto);
    imgFoto->setGeometry(2, 2, 307, 409);
    imgBianco = new PictureBox(QStringLiteral("imgBianco"), pan);
    imgBianco->setGeometry(6, 64, 307, 409);
    imgBianco->hide();
    imgBianco->setImage(renderPicture(asset(QStringLiteral("imgBianco.svg")), QSize(307, 409), Qt::white));
    QWidget *panFoto = whitePanel(pan, QStringLiteral("panFoto"), QRect(6, 481, 311, 48));
    auto photoButton = [&](const char *name, int x, int w) {
        return Decor::command(panFoto, QString::fromLatin1(name), QString::fromLatin1(name) + QStringLiteral(".svg"),
                              QRect(x, 4, w, 40));
    };
    btnCaricaFoto = photoButton("btnCaricaFoto", 4, 157);
    btnSalvaFoto = photoButton("btnSalvaFoto", 167, 42);
    btnCancFoto = photoButton("btnCancFoto", 213, 42);
    btnZoomFoto = photoButton("btnZoomFoto", 259, 42);

    // The 22 fields, in record order, each under its label (named
    // "lblCampo<field>", apart from the screen's own lblPosizione).
    auto box = [&](QLineEdit *&edit, const char *name, int cap, int x, int y, int w, const QString &label) {
        if (!label.isEmpty())
            fieldLabel(pan, QStringLiteral("lblCampo") + QString::fromLatin1(name).mid(3), label, x, y, w);
        edit = new QLineEdit(pan);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(x, y + 18, w, 28);
        edit->setFont(Look::dataFont());
        edit->setMaxLength(cap);
    };
    Decor::picture(pan, QStringLiteral("icoTitolo"), QStringLiteral("icoTitolo.svg"), QRect(325, 64, 580, 22));
    box(txtTitolo, "txtTitolo", 120, 325, 70, 665, QString());

    const int x0 = 325, x1 = 591, x2 = 797, xb = 791;
    int y = 122;
    const int pitch = 52;
    box(txtAutore, "txtAutore", 50, x0, y, 260, QStringLiteral("Autore:"));
    box(txtNazione, "txtNazione", 50, x1, y, 200, QStringLiteral("Nazione:"));
    box(txtAnno, "txtAnno", 20, x2, y, 193, QStringLiteral("Anno pubblicazione:"));
    y += pitch;
    box(txtEditore, "txtEditore", 50, x0, y, 260, QStringLiteral("Casa editrice:"));
    box(txtCitta, "txtCitta", 50, x1, y, 200, QStringLiteral("Città pubblicazione:"));
    box(txtDewey, "txtDewey", 12, x2, y, 150, QStringLiteral("Codice Dewey:"));
    btnDewey = new PictureButton(QStringLiteral("btnDewey"), asset(QStringLiteral("btnDewey.svg")), pan);
    btnDewey->setGeometry(953, y + 17, 37, 30);
    y += pitch;
    box(txtGenere, "txtGenere", 50, x0, y, 260, QStringLiteral("Genere:"));
    box(txtISBN, "txtISBN", 20, x1, y, 200, QStringLiteral("ISBN:"));
    box(txtLingua, "txtLingua", 50, x2, y, 193, QStringLiteral("Lingua:"));
    y += pitch;
    box(txtOriginale, "txtOriginale", 120, x0, y, 460, QStringLiteral("Titolo originale:"));
    box(txtTraduttore, "txtTraduttore", 50, xb, y, 199, QStringLiteral("Traduttore:"));
    y += pitch;
    box(txtCollana, "txtCollana", 120, x0, y, 460, QStringLiteral("Collana:"));
    box(txtCuratore, "txtCuratore", 50, xb, y, 199, QStringLiteral("Curatore:"));
    y += pitch;
    box(txtPosizione, "txtPosizione", 120, x0, y, 460, QStringLiteral("Posizione su scaffale:"));
    box(txtEtichetta, "txtEtichetta", 50, xb, y, 199, QStringLiteral("Codice su etichetta:"));
    y += pitch;
    box(txtFormato, "txtFormato", 50, x0, y, 160, QStringLiteral("Formato:"));
    box(txtVolumi, "txtVolumi", 50, 491, y, 160, QStringLiteral("Volumi:"));
    box(txtPagine, "txtPagine", 20, 657, y, 160, QStringLiteral("Pagine:"));
    box(txtPrezzo, "txtPrezzo", 20, 823, y, 167, QStringLiteral("Prezzo:"));
    y += pitch;
    box(txtGiudizio, "txtGiudizio", 250, x0, y, 665, QStringLiteral("Giudizio:"));
    Decor::picture(pan, QStringLiteral("icoNote"), QStringLiteral("icoNote.svg"), QRect(6, 580, 84, 44));
    box(txtNote, "txtNote", 250, 96, 570, 894, QString());

    m_fields = {txtTitolo,  txtAutore,   txtNazione,   txtAnno,      txtEditore,   txtCitta,
                txtDewey,   txtGenere,   txtISBN,      txtLingua,    txtOriginale, txtTraduttore,
                txtCollana, txtCuratore, txtPosizione, txtEtichetta, txtFormato,   txtVolumi,
                txtPagine,  txtPrezzo,   txtGiudizio,  txtNote};
    QList<QWidget *> chain;
    for (QLineEdit *edit : m_fields) {
        Look::overlayHighlight(edit, edit == txtTitolo ? Look::White : Look::AliceBlue);
        if (!chain.isEmpty())
            setTabOrder(chain.last(), edit);
        chain.append(edit);
    }
    Look::enterChain(chain);

    // Hidden attachment labels and the invisible button that takes the focus while saving.
    const char *attachmentNames[] = {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"};
    for (int i = 0; i < 6; ++i) {
        auto *label = new QLabel(pan);
        label->setObjectName(QString::fromLatin1(attachmentNames[i]));
        label->hide();
        m_attachments[size_t(i)] = label;
    }
    lblFile01 = m_attachments[0];
    lblFile02 = m_attachments[1];
    lblFile03 = m_attachments[2];
    lblDesc01 = m_attachments[3];
    lblDesc02 = m_attachments[4];
    lblDesc03 = m_attachments[5];
    btnFocus = new QPushButton(pan);
    btnFocus->setObjectName(QStringLiteral("btnFocus"));
    btnFocus->setGeometry(0, 0, 1, 1);
    btnFocus->setFlat(true);
    btnFocus->setFocusPolicy(Qt::StrongFocus);
    btnFocus->setStyleSheet(QStringLiteral("background: transparent; border: none;"));
    btnFocus->lower();

    // Hint bar across the bottom.
    panInfo = Look::makeHintBar(pan, QRect(0, 660, 996, 32), 0xFF000000,
                                QStringLiteral("Pronto per archiviare una nuova scheda..."));
    m_hints = new HintBar(panInfo);
    const QList<QPair<QWidget *, QString>> hints = {
        {cmdNuovo, QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda.")},
        {cmdDuplica,
         QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.")},
        {cmdSalva, QStringLiteral("Salva la scheda in archivio.")},
        {cmdTrova, QStringLiteral("Trova una scheda in archivio.")},
        {cmdFile, QStringLiteral("Allega file alla scheda.")},
        {cmdAnteprima, QStringLiteral("Visualizza l'anteprima di stampa della scheda.")},
        {cmdStampa, QStringLiteral("Stampa la scheda.")},
        {cmdPrimo, QStringLiteral("Visualizza la prima scheda in archivio.")},
        {cmdIndietro, QStringLiteral("Visualizza la scheda precedente in archivio.")},
        {cmdAvanti, QStringLiteral("Visualizza la scheda successiva in archivio.")},
        {cmdUltimo, QStringLiteral("Visualizza l'ultima scheda in archivio.")},
        {cmdEsporta, QStringLiteral("Esporta le schede in archivio in un file di Excel.")},
        {cmdSlideshow, QStringLiteral("Esegui lo slide show delle copertine dei libri.")},
        {cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto.")},
        {cmdEsci, QStringLiteral("Esci da questa schermata di lavoro.")},
        {btnCaricaFoto, QStringLiteral("Carica una foto esistente.")},
        {btnSalvaFoto, QStringLiteral("Salva la foto su disco.")},
        {btnCancFoto, QStringLiteral("Cancella la foto.")},
        {btnZoomFoto, QStringLiteral("Visualizza la foto nelle sue dimensioni reali.")},
        {btnDewey, QStringLiteral("Visualizza la Tabella dei Codici Dewey.")},
    };
    QList<QWidget *> grounds = {this, pan};
    for (QWidget *panel : panels)
        grounds << panel;
    grounds << shpFoto << imgFoto << panFoto;
    RecordScreen::addHints(m_hints, hints, grounds);

    const QList<QPair<PictureButton *, void (TfrmLibri::*)()>> commands = {
        {cmdNuovo, &TfrmLibri::cmdNuovoClick},         {cmdDuplica, &TfrmLibri::cmdDuplicaClick},
        {cmdSalva, &TfrmLibri::cmdSalvaClick},         {cmdTrova, &TfrmLibri::cmdTrovaClick},
        {cmdFile, &TfrmLibri::cmdFileClick},           {cmdAnteprima, &TfrmLibri::cmdAnteprimaClick},
        {cmdStampa, &TfrmLibri::cmdStampaClick},       {cmdPrimo, &TfrmLibri::cmdPrimoClick},
        {cmdIndietro, &TfrmLibri::cmdIndietroClick},   {cmdAvanti, &TfrmLibri::cmdAvantiClick},
        {cmdUltimo, &TfrmLibri::cmdUltimoClick},       {cmdEsporta, &TfrmLibri::cmdEsportaClick},
        {cmdSlideshow, &TfrmLibri::cmdSlideshowClick}, {cmdGuida, &TfrmLibri::cmdGuidaClick},
        {cmdEsci, &TfrmLibri::cmdEsciClick},           {btnCaricaFoto, &TfrmLibri::btnCaricaFotoClick},
        {btnSalvaFoto, &TfrmLibri::btnSalvaFotoClick}, {btnCancFoto, &TfrmLibri::btnCancFotoClick},
        {btnZoomFoto, &TfrmLibri::btnZoomFotoClick},   {btnDewey, &TfrmLibri::btnDeweyClick},
    };
    RecordScreen::connectCommands(this, commands);
}

// ---- screen state --------------------------------------------------------

void TfrmLibri::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmLibri::FormShow()
{
    blankState();
}

void TfrmLibri::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TfrmLibri::FormClose()
{
    // Closing the card index goes back to the launcher.
    emit leftToLauncher();
}

void TfrmLibri::blankState()
{
    for (QLineEdit *edit : m_fields)
        edit->clear();
    for (QLabel *label : m_attachments)
        label->clear();
    imgFoto->setImage(placeholder());
    lblPosizione->clear();
    m_loaded.reset();
    txtTitolo->setFocus(Qt::OtherFocusReason);
}

QImage TfrmLibri::placeholder() const
{
    return imgBianco->image();
}

void TfrmLibri::showCard(const TSchedaLibro &card)
{
    for (int i = 0; i < TSchedaLibro::TextFieldCount; ++i) {
        m_fields[size_t(i)]->setText(card.text(i));
        // A text longer than its box shows from its first letter, not its last.
        m_fields[size_t(i)]->setCursorPosition(0);
    }
    for (int i = TSchedaLibro::File01; i <= TSchedaLibro::Desc03; ++i)
        attachmentLabel(i)->setText(card.text(i));
    m_loaded = card;
}

void TfrmLibri::fillCard(TSchedaLibro &card) const
{
    for (int i = 0; i < TSchedaLibro::TextFieldCount; ++i)
        card.setText(i, m_fields[size_t(i)]->text());
    for (int i = TSchedaLibro::File01; i <= TSchedaLibro::Desc03; ++i)
        card.setText(i, attachmentLabel(i)->text());
}

void TfrmLibri::loadCover()
{
    // Picture operations never report a failure: the placeholder stands in.
    const QString path = Covers::path(lblPosizione->text());
    if (path.isEmpty() || !Covers::makeFolder())
        return imgFoto->setImage(placeholder());
    Covers::loadInto(imgFoto, path, placeholder());
}

void TfrmLibri::saveCover()
{
    saveCover(trimText(lblPosizione->text()).toInt());
}

void TfrmLibri::saveCover(int number)
{
    // An unchanged cover goes back byte for byte; only a new picture is encoded.
    const QString path = number < 1 ? QString() : Covers::path(QString::number(number));
    QString error;
    if (path.isEmpty())
        error = QStringLiteral("%1 non è il numero di una scheda").arg(number);
    else if (!Covers::makeFolder())
        error = QStringLiteral("la cartella %1 non può essere creata").arg(Covers::folder());
    else if (Covers::writeJpeg(path, imgFoto->image(), imgFoto->sourceJpeg(), Covers::Keep::Stored, &error))
        return;
    qCWarning(lcBooks, "copertina della scheda %d non salvata: %s", number, qUtf8Printable(Log::cause(error)));
    imgFoto->setImage(placeholder());
}

bool TfrmLibri::loadCard(BookArchive &archive, int n)
{
    TSchedaLibro card = m_record;
    if (!archive.read(n, card))
        return false;
    m_record = card;
    showCard(card);
    lblPosizione->setText(QString::number(n));
    archive.close();
    loadCover();
    return true;
}

void TfrmLibri::reportAccessFailure()
{
    RecordScreen::reportAccessFailure(this);
}

// ---- navigation ----------------------------------------------------------

void TfrmLibri::cmdPrimoClick()
{
    browse(Browsing::Command::First);
}

void TfrmLibri::cmdUltimoClick()
{
    browse(Browsing::Command::Last);
}

void TfrmLibri::cmdAvantiClick()
{
    browse(Browsing::Command::Next);
}

void TfrmLibri::cmdIndietroClick()
{
    browse(Browsing::Command::Previous);
}

void TfrmLibri::browse(Browsing::Command command)
{
    BookArchive archive;
    if (!archive.open())
        return reportAccessFailure();
    RecordScreen::browse(this, lblPosizione, archive, command,
                         [this](BookArchive &file, int n) { return loadCard(file, n); });
}

// ---- editing -------------------------------------------------------------

void TfrmLibri::cmdNuovoClick()
{
    blankState();
}

void TfrmLibri::cmdSalvaClick()
{
    btnFocus->setFocus(Qt::OtherFocusReason);

    const QList<QPair<QLineEdit *, QString>> required = {
        {txtTitolo, QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il titolo del libro.")},
        {txtAutore, QStringLiteral("Attenzione: per salvare la scheda è necessario indicare l'autore del libro.")},
        {txtAnno, QStringLiteral("Attenzione: per salvare la scheda è necessario indicare l'anno di pubblicazione del "
                                 "libro.")},
        {txtEditore,
         QStringLiteral("Attenzione: per salvare la scheda è necessario indicare la casa editrice del libro.")},
    };
    for (const auto &check : required) {
        if (trimText(check.first->text()).isEmpty()) {
            Msg::warning(this, check.second);
            check.first->setFocus(Qt::OtherFocusReason);
            return;
        }
    }

    // The write takes the archive's lock: a new card's number is the one
    // the file gives under it, and the cover is saved under that number
    // before another workstation can append.
    TSchedaLibro card = m_record;
    fillCard(card);
    const QString position = trimText(lblPosizione->text());
    const bool stored = !position.isEmpty();
    LockedSave::Options options;
    options.whileLocked = [this](int number) { saveCover(number); };
    QString error;
    options.error = &error;
    int number = stored ? position.toInt() : 0;
    std::optional<TSchedaLibro> current;
    const LockedSave::Result result = RecordSave::save(
        BookArchive::path(), card, number, m_loaded,
        [this](int n) { return !Msg::answeredNo(this, changedElsewhereQuestion(n)); }, current, options);
    if (result == LockedSave::Result::Changed)
        return showStoredCard(*current, number);
    if (result == LockedSave::Result::Busy)
        return Msg::warning(this, WriteLock::busyMessage());
    if (result != LockedSave::Result::Saved) {
        qCWarning(lcBooks, "scheda %s non salvata in %s: %s", stored ? qUtf8Printable(position) : "nuova",
                  qUtf8Printable(BookArchive::path()), qUtf8Printable(Log::cause(error)));
        return reportAccessFailure();
    }
    m_record = card;
    m_loaded = card;
    lblPosizione->setText(QString::number(number));
    Msg::information(this, RecordScreen::savedMessage(stored));
}

QString TfrmLibri::changedElsewhereQuestion(int number)
{
    return QStringLiteral("Attenzione: la scheda n. %1 è stata modificata da un'altra postazione dopo che è stata "
                          "aperta su questa.\n\r\n\rSi desidera sovrascriverla con i dati visualizzati?\n\r\n\r"
                          "Rispondendo No verrà mostrata la scheda come si trova ora in archivio.")
        .arg(number);
}

void TfrmLibri::showStoredCard(const TSchedaLibro &card, int number)
{
    m_record = card;
    showCard(card);
    lblPosizione->setText(QString::number(number));
    loadCover();
}

void TfrmLibri::cmdDuplicaClick()
{
    if (trimText(lblPosizione->text()).isEmpty()) {
        return Msg::warning(this, QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto "
                                                 "dopo che questa è stata inserita in archivio."));
    }
    for (QLabel *label : m_attachments)
        label->clear();
    lblPosizione->clear();
    m_loaded.reset();
    imgFoto->setImage(placeholder());
    txtTitolo->setFocus(Qt::OtherFocusReason);
    Msg::information(this,
                     QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                                    "Al termine premere Salva per inserire la scheda in archivio."));
}

// ---- commands that open other screens ------------------------------------

QString TfrmLibri::helpTopic()
{
    return HelpTopics::schedarioLibri();
}

void TfrmLibri::cmdTrovaClick()
{
    Screens::runModal<TfrmTrovaLibri>(this, [this](TfrmTrovaLibri &search) {
        search.setCaller(QStringLiteral("libri"));
        receiveFrom(search);
    });
}

BookCardWindow::Card TfrmLibri::printedCard() const
{
    BookCardWindow::Card card;
    // The value names are the edit boxes' names, in record order.
    for (int i = 0; i < TSchedaLibro::TextFieldCount; ++i)
        card.values << field(i)->text();
    card.picture = imgFoto->image();
    return card;
}

void TfrmLibri::takeFoundCard(const TSchedaLibro &card, int number)
{
    showCard(card);
    lblPosizione->setText(QString::number(number));
    loadCover();
}

void TfrmLibri::receiveFrom(TfrmTrovaLibri &search)
{
    connect(&search, &TfrmTrovaLibri::cardChosen, this, &TfrmLibri::takeFoundCard);
}

void TfrmLibri::receiveFrom(TfrmCodici_Dewey &table)
{
    connect(&table, &TfrmCodici_Dewey::classPicked, txtDewey, &QLineEdit::setText);
    connect(&table, &TfrmCodici_Dewey::closing, this, [this] { txtDewey->setFocus(Qt::OtherFocusReason); });
}

void TfrmLibri::receiveFrom(TfrmAllegaCartella &dialog)
{
    connect(&dialog, &TfrmAllegaCartella::applied, this, [this](const QStringList &texts) {
        QLabel *const labels[] = {lblFile01, lblDesc01, lblFile02, lblDesc02, lblFile03, lblDesc03};
        for (int i = 0; i < 6; ++i)
            labels[i]->setText(texts.at(i));
    });
}

void TfrmLibri::cmdFileClick()
{
    Screens::runModal<TfrmAllegaCartella>(this, [this](TfrmAllegaCartella &dialog) {
        dialog.setCaller(QStringLiteral("libri"));
        dialog.showAttachment(1, trimText(lblFile01->text()), trimText(lblDesc01->text()));
        dialog.showAttachment(2, trimText(lblFile02->text()), trimText(lblDesc02->text()));
        dialog.showAttachment(3, trimText(lblFile03->text()), trimText(lblDesc03->text()));
        receiveFrom(dialog);
    });
}

void TfrmLibri::cmdAnteprimaClick()
{
    Screens::runModal<TfrmAnteprimaLibri>(this, [this](TfrmAnteprimaLibri &w) { w.setCard(printedCard()); });
}

void TfrmLibri::cmdStampaClick()
{
    Screens::runModal<TfrmStampaLibri>(this, [this](TfrmStampaLibri &w) { w.setCard(printedCard()); });
}

void TfrmLibri::cmdEsportaClick()
{
    Screens::runModal<TfrmExpLibri>(this);
}

void TfrmLibri::cmdSlideshowClick()
{
    Screens::runModal<TfrmSlideshow_Libri>(this);
}

void TfrmLibri::cmdGuidaClick()
{
    Screens::runModal<TfrmGuida>(
        this, [](TfrmGuida &help) { help.setTopic(QStringLiteral("App Schedario Libri"), helpTopic()); });
}

void TfrmLibri::cmdEsciClick()
{
    close();
}

void TfrmLibri::btnCaricaFotoClick()
{
    FileChooser::Request request;
    request.name = QStringLiteral("dlgFile");
    request.title = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
    request.filters = {{QStringLiteral("Immagine JPEG (*.jpg; *.jpeg)"), QStringLiteral("*.jpg *.jpeg")},
                       {QStringLiteral("Immagine Bitmap (*.bmp)"), QStringLiteral("*.bmp")}};
    const QString chosen = FileChooser::choose(this, request);
    if (chosen.isEmpty())
        return;
    Covers::loadInto(imgFoto, chosen, placeholder());
}

void TfrmLibri::btnSalvaFotoClick()
{
    FileChooser::Request request;
    request.kind = FileChooser::Request::Save;
    request.name = QStringLiteral("dlgSalvaFile");
    request.title = QStringLiteral("Selezionare la cartella in cui si desidera salvare il file Jpeg.");
    request.filters = {{QStringLiteral("File Jpeg (*.jpg)"), QStringLiteral("*.jpg")}};
    request.proposedName = QStringLiteral("Foto.jpg");
    request.defaultSuffix = QStringLiteral("jpg");
    const QString chosen = FileChooser::choose(this, request);
    if (chosen.isEmpty())
        return;
    QString error;
    if (!Covers::writeJpeg(chosen, imgFoto->image(), imgFoto->sourceJpeg(), Covers::Keep::Stored, &error)) {
        qCWarning(lcBooks, "fotografia non salvata in %s: %s", qUtf8Printable(chosen),
                  qUtf8Printable(Log::cause(error)));
        imgFoto->setImage(placeholder());
    }
}

void TfrmLibri::btnCancFotoClick()
{
    imgFoto->setImage(placeholder());
}

void TfrmLibri::btnZoomFotoClick()
{
    Screens::runModal<TfrmZoom>(this, [this](TfrmZoom &zoom) { zoom.showPicture(imgFoto->image()); });
}

void TfrmLibri::btnDeweyClick()
{
    // The picked class number goes into txtDewey, and the focus goes there
    // when the table closes.
    Screens::runModal<TfrmCodici_Dewey>(this, [this](TfrmCodici_Dewey &dewey) {
        dewey.setCaller(QStringLiteral("libri"));
        receiveFrom(dewey);
    });
}
