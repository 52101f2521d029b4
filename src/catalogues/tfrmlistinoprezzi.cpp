#include "tfrmlistinoprezzi.h"

#include "cataloguefile.h"
#include "cataloguefolder.h"
#include "tfrmanteprimaprodotto.h"
#include "tfrmstampaprodotto.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
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
#include "search/tfrmtrovalibri.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

namespace {
using T = TfrmListinoPrezzi;

/// The fields of a box in the order of the screen, of the Enter chain and of
/// the box A check.
constexpr TRiquadro::Field kScreenOrder[TRiquadro::FieldCount] = {
    TRiquadro::Nome, TRiquadro::UM, TRiquadro::Caratteristiche, TRiquadro::Codice, TRiquadro::Prezzo};

/// Where each field sits in its box, relative to the box's corner.
constexpr QRect kFieldGeometry[TRiquadro::FieldCount] = {
    QRect(104, 90, 204, 22), // Codice
    QRect(104, 8, 326, 22),  // Nome
    QRect(104, 35, 354, 22), // UM
    QRect(104, 62, 354, 22), // Caratteristiche
    QRect(330, 90, 128, 22), // Prezzo
};

constexpr QPoint kBoxCorners[T::BoxCount] = {{24, 120},  {24, 248},  {24, 376},  {24, 504},
                                             {502, 120}, {502, 248}, {502, 376}, {502, 504}};

constexpr QRgb BodyFill = 0xFFC8D6E3;
constexpr QRgb BoxFill = 0xFFE4E4E4;
constexpr QRgb ContainerFill = 0xFFDCE6F0;
constexpr QRgb Border = 0xFFB9CFE2;
} // namespace

/// The controls of one box, as members of the screen, with the fields in
/// record order (TRiquadro::Field), and the box's two handlers.
struct TfrmListinoPrezzi::BoxControls
{
    QLineEdit *T::*fields[TRiquadro::FieldCount];
    PictureBox *T::*photo;
    PictureButton *T::*import;
    void (T::*photoClick)();
    void (T::*importClick)();
};

const TfrmListinoPrezzi::BoxControls &TfrmListinoPrezzi::boxControls(int box)
{
    static const BoxControls table[BoxCount] = {
        {{&T::txtCodice_A, &T::txtNome_A, &T::txtUM_A, &T::txtCaratteristiche_A, &T::txtPrezzo_A},
         &T::imgFoto_A,
         &T::impProdotto_A,
         &T::imgFoto_AClick,
         &T::impProdotto_AClick},
        {{&T::txtCodice_B, &T::txtNome_B, &T::txtUM_B, &T::txtCaratteristiche_B, &T::txtPrezzo_B},
         &T::imgFoto_B,
         &T::impProdotto_B,
         &T::imgFoto_BClick,
         &T::impProdotto_BClick},
        {{&T::txtCodice_C, &T::txtNome_C, &T::txtUM_C, &T::txtCaratteristiche_C, &T::txtPrezzo_C},
         &T::imgFoto_C,
         &T::impProdotto_C,
         &T::imgFoto_CClick,
         &T::impProdotto_CClick},
        {{&T::txtCodice_D, &T::txtNome_D, &T::txtUM_D, &T::txtCaratteristiche_D, &T::txtPrezzo_D},
         &T::imgFoto_D,
         &T::impProdotto_D,
         &T::imgFoto_DClick,
         &T::impProdotto_DClick},
        {{&T::txtCodice_E, &T::txtNome_E, &T::txtUM_E, &T::txtCaratteristiche_E, &T::txtPrezzo_E},
         &T::imgFoto_E,
         &T::impProdotto_E,
         &T::imgFoto_EClick,
         &T::impProdotto_EClick},
        {{&T::txtCodice_F, &T::txtNome_F, &T::txtUM_F, &T::txtCaratteristiche_F, &T::txtPrezzo_F},
         &T::imgFoto_F,
         &T::impProdotto_F,
         &T::imgFoto_FClick,
         &T::impProdotto_FClick},
        {{&T::txtCodice_G, &T::txtNome_G, &T::txtUM_G, &T::txtCaratteristiche_G, &T::txtPrezzo_G},
         &T::imgFoto_G,
         &T::impProdotto_G,
         &T::imgFoto_GClick,
         &T::impProdotto_GClick},
        {{&T::txtCodice_H, &T::txtNome_H, &T::txtUM_H, &T::txtCaratteristiche_H, &T::txtPrezzo_H},
         &T::imgFoto_H,
         &T::impProdotto_H,
         &T::imgFoto_HClick,
         &T::impProdotto_HClick},
    };
    return table[box];
}

TfrmListinoPrezzi::TfrmListinoPrezzi(QWidget *parent) : QWidget(parent)
{
    // FormCreate
    Regional::apply();
    Screens::setupWorkScreen(this, QStringLiteral("TfrmListinoPrezzi"), QStringLiteral(" Rilegora - Catalogo Libri"));
    Look::setGround(this, Look::CardBlue);
    buildLayout();
}

TfrmListinoPrezzi::~TfrmListinoPrezzi() = default;

void TfrmListinoPrezzi::buildLayout()
{
    QWidget *pan = Screens::addCentredContainer(this, QSize(994, 692));
    QWidget *shpContainer =
        Decor::rectangle(pan, QStringLiteral("shpContainer"), QRect(8, 12, 978, 670), ContainerFill, Border, 8);

    // Toolbar: the commands on white tiles.
    const QRect tiles[] = {{18, 20, 106, 51}, {131, 20, 160, 51}, {298, 20, 160, 51}, {466, 20, 91, 51},
                           {772, 20, 91, 51}, {871, 20, 49, 51},  {928, 20, 49, 51}};
    QList<QWidget *> grounds = {this, pan, shpContainer};
    for (int i = 0; i < 7; ++i) {
        grounds << Decor::rectangle(pan, QStringLiteral("shpPulsanti%1").arg(i + 1, 2, 10, QLatin1Char('0')), tiles[i],
                                    Look::White, Border, 6);
    }
    auto icon = [&](const char *name, int x) {
        return Decor::command(pan, QString::fromLatin1(name), QString::fromLatin1(name) + QStringLiteral(".svg"),
                              QRect(x, 26, 37, 39));
    };
    cmdNuovo = icon("cmdNuovo", 24);
    cmdSalva = icon("cmdSalva", 81);
    cmdAnteprima = Decor::command(pan, QStringLiteral("cmdAnteprima"), QStringLiteral("cmdAnteprima.svg"),
                                  QRect(137, 26, 148, 32));
    cmdStampa =
        Decor::command(pan, QStringLiteral("cmdStampa"), QStringLiteral("cmdStampa.svg"), QRect(304, 26, 148, 32));
    cmdPrimo = icon("cmdPrimo", 472);
    cmdIndietro = icon("cmdIndietro", 514);
    cmdAvanti = icon("cmdAvanti", 778);
    cmdUltimo = icon("cmdUltimo", 820);
    cmdGuida = icon("cmdGuida", 877);
    cmdEsci = icon("cmdEsci", 934);
    lblPosizione = new QLabel(pan);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setGeometry(550, 33, 226, 24);
    lblPosizione->setAlignment(Qt::AlignCenter);
    lblPosizione->setFont(Look::verdana(12, true));
    lblPosizione->setStyleSheet(QStringLiteral("color: #1f3f66;"));

    // Body: the catalogue name and the eight boxes, two columns of four.
    QWidget *shpBody = Decor::rectangle(pan, QStringLiteral("shpBody"), QRect(16, 80, 962, 554), BodyFill, Border, 4);
    QWidget *bkgTitolo =
        Decor::rectangle(pan, QStringLiteral("bkgTitolo"), QRect(24, 88, 946, 24), 0xFF000000, 0xFF000000, 2);
    lblNome = new QLabel(QStringLiteral("Nome Catalogo"), bkgTitolo);
    lblNome->setObjectName(QStringLiteral("lblNome"));
    lblNome->setGeometry(8, 0, 930, 24);
    lblNome->setAlignment(Qt::AlignCenter);
    lblNome->setFont(Look::verdana(12));
    lblNome->setStyleSheet(QStringLiteral("color: white;"));
    grounds << shpBody << bkgTitolo << lblNome;

    QList<QWidget *> chain;
    for (int box = 0; box < BoxCount; ++box) {
        QWidget *panel = Decor::rectangle(pan, QStringLiteral("bkgProdotto_%1").arg(box + 1, 2, 10, QLatin1Char('0')),
                                          QRect(kBoxCorners[box], QSize(468, 120)), BoxFill, 0xFFCCCCCC, 4);
        grounds << panel;
        buildBox(panel, box);
        for (TRiquadro::Field f : kScreenOrder)
            chain << m_fields[size_t(box)][f];
    }
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    Look::enterChain(chain);

    imgBianco = new PictureBox(QStringLiteral("imgBianco"), pan);
    imgBianco->setGeometry(34, 128, 80, 104);
    imgBianco->setImage(renderPicture(QStringLiteral(":/assets/imgBianco_Catalogo.svg"), QSize(80, 104), Qt::white));
    imgBianco->hide();
    grounds << imgBianco;
    lblFile = new QLabel(pan);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->hide();
    lblRecord = new QLabel(pan);
    lblRecord->setObjectName(QStringLiteral("lblRecord"));
    lblRecord->hide();

    // Hint bar.
    panInfo = Look::makeHintBar(pan, QRect(16, 642, 962, 32), Look::EditorHintBand,
                                QStringLiteral("Pronto per archiviare una nuova scheda..."), QStringLiteral("shpInfo"));
    panInfo->setGeometry(8, 0, 946, 32);
    grounds << panInfo->parentWidget();
    m_hints = new HintBar(panInfo);
    QList<QPair<QWidget *, QString>> hints = {
        {cmdNuovo, QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda.")},
        {cmdSalva, QStringLiteral("Salva la scheda corrente.")},
        {cmdAnteprima, QStringLiteral("Visualizza l'anteprima di stampa della scheda corrente.")},
        {cmdStampa, QStringLiteral("Stampa la scheda corrente.")},
        {cmdPrimo, QStringLiteral("Visualizza la prima scheda in archivio.")},
        {cmdIndietro, QStringLiteral("Visualizza la scheda precedente in archivio.")},
        {cmdAvanti, QStringLiteral("Visualizza la scheda successiva in archivio.")},
        {cmdUltimo, QStringLiteral("Visualizza l'ultima scheda in archivio.")},
        {cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto.")},
        {cmdEsci, QStringLiteral("Esci da questa schermata di lavoro.")},
    };
    for (int box = 0; box < BoxCount; ++box) {
        hints.append({photo(box), QStringLiteral("Carica la foto della persona.")});
        hints.append({importButton(box), QStringLiteral("Importa i dati dallo schedario dei libri.")});
    }
    RecordScreen::addHints(m_hints, hints, grounds);

    const QList<QPair<PictureButton *, void (T::*)()>> commands = {
        {cmdNuovo, &T::cmdNuovoClick},   {cmdSalva, &T::cmdSalvaClick},   {cmdAnteprima, &T::cmdAnteprimaClick},
        {cmdStampa, &T::cmdStampaClick}, {cmdPrimo, &T::cmdPrimoClick},   {cmdIndietro, &T::cmdIndietroClick},
        {cmdAvanti, &T::cmdAvantiClick}, {cmdUltimo, &T::cmdUltimoClick}, {cmdGuida, &T::cmdGuidaClick},
        {cmdEsci, &T::cmdEsciClick},
    };
    RecordScreen::connectCommands(this, commands);
}

void TfrmListinoPrezzi::buildBox(QWidget *panel, int box)
{
    const BoxControls &names = boxControls(box);
    const QChar letter = CatalogueFolder::boxLetter(box);
    const QString suffix = QStringLiteral("_") + letter;

    auto *image = new PictureBox(QStringLiteral("imgFoto") + suffix, panel);
    image->setGeometry(10, 8, 80, 104);
    image->setCursor(Qt::PointingHandCursor);
    this->*names.photo = image;
    m_photos[size_t(box)] = image;
    connect(image, &PictureBox::clicked, this, names.photoClick);

    for (TRiquadro::Field f : kScreenOrder) {
        auto *edit = new QLineEdit(panel);
        edit->setObjectName(QStringLiteral("txt") + TRiquadro::name(f) + suffix);
        edit->setGeometry(kFieldGeometry[f]);
        edit->setFont(Look::dataFont());
        // An import may place a longer text, shown whole and cut when saved.
        Look::typingLimit(edit, TRiquadro::capacity(f));
        if (f == TRiquadro::Prezzo)
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Look::overlayHighlight(edit, Look::White);
        this->*names.fields[f] = edit;
        m_fields[size_t(box)][f] = edit;
    }

    PictureButton *import = Decor::command(panel, QStringLiteral("impProdotto") + suffix,
                                           QStringLiteral("impProdotto.svg"), QRect(436, 8, 22, 22));
    this->*names.import = import;
    m_imports[size_t(box)] = import;
    connect(import, &QAbstractButton::clicked, this, names.importClick);
}

// ---- screen state --------------------------------------------------------

void TfrmListinoPrezzi::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmListinoPrezzi::FormShow()
{
    m_shownFile = lblFile->text();
    m_shownFileExisted = QFileInfo::exists(m_shownFile);
    blankPage();
}

bool TfrmListinoPrezzi::mayCreateFile() const
{
    return lblFile->text() != m_shownFile || !m_shownFileExisted;
}

void TfrmListinoPrezzi::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TfrmListinoPrezzi::FormClose()
{
    // Unsaved changes are dropped; the way out is the launcher.
    emit leftToLauncher();
}

QImage TfrmListinoPrezzi::placeholder() const
{
    return imgBianco->image();
}

void TfrmListinoPrezzi::blankPage()
{
    for (const auto &box : m_fields)
        for (QLineEdit *edit : box)
            edit->clear();
    for (PictureBox *image : m_photos)
        image->setImage(placeholder());
    lblPosizione->clear();
    m_loaded.reset();
    txtNome_A->setFocus(Qt::OtherFocusReason);
}

void TfrmListinoPrezzi::showPage(const TPaginaCatalogo &page)
{
    for (int box = 0; box < BoxCount; ++box)
        for (int f = 0; f < TRiquadro::FieldCount; ++f) {
            field(box, f)->setText(page.text(box, f));
            field(box, f)->setCursorPosition(0); // a long line shows its beginning
        }
    m_loaded = page;
}

void TfrmListinoPrezzi::fillPage(TPaginaCatalogo &page) const
{
    for (int box = 0; box < BoxCount; ++box)
        for (int f = 0; f < TRiquadro::FieldCount; ++f)
            page.setText(box, f, field(box, f)->text());
}

void TfrmListinoPrezzi::reportAccessFailure()
{
    RecordScreen::reportAccessFailure(this);
}

// ---- photos ----------------------------------------------------------------

void TfrmListinoPrezzi::loadBoxPhotos()
{
    // A missing or unreadable photo shows the placeholder, silently.
    CatalogueFolder::makePhotoFolder();
    for (int box = 0; box < BoxCount; ++box)
        Covers::loadInto(photo(box), CatalogueFolder::photoPath(lblNome->text(), box, lblPosizione->text()),
                         placeholder());
}

QByteArray TfrmListinoPrezzi::photoJpeg(int box)
{
    const PictureBox *image = photo(box);
    const QImage picture = image->image();
    if (picture.size() == CatalogueFolder::PhotoSize && !image->sourceJpeg().isEmpty())
        return image->sourceJpeg();
    if (picture.isNull())
        return QByteArray();
    Encoded &encoded = m_encoded[size_t(box)];
    if (encoded.key != picture.cacheKey() || encoded.jpeg.isEmpty()) {
        const QImage stretched =
            picture.scaled(CatalogueFolder::PhotoSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        encoded = {picture.cacheKey(), Covers::jpegData(stretched, QByteArray())};
    }
    return encoded.jpeg;
}

void TfrmListinoPrezzi::saveBoxPhotos(int number)
{
    // Box by box; a box whose photo cannot be written shows the placeholder.
    for (int box = 0; box < BoxCount; ++box) {
        const QString path = CatalogueFolder::photoPath(lblNome->text(), box, QString::number(number));
        QString error;
        if (!CatalogueFolder::makePhotoFolder())
            error = QStringLiteral("la cartella %1 non può essere creata").arg(CatalogueFolder::photoFolder());
        else if (!path.isEmpty() && Covers::writeJpeg(path, QImage(), photoJpeg(box), Covers::Keep::Stored, &error))
            continue;
        // A name that names no picture gets none, and Salva says so.
        if (!path.isEmpty())
            qCWarning(lcCatalogues, "fotografia del riquadro %d della pagina %d non salvata: %s", box + 1, number,
                      qUtf8Printable(Log::cause(error)));
        photo(box)->setImage(placeholder());
    }
}

void TfrmListinoPrezzi::writePreviewPictures()
{
    // The preview pictures are one set per catalogue, shared by every
    // workstation: written and read back under the catalogue's lock. A lock
    // that stays busy does not stop a preview: the pictures are scratch.
    WriteLock lock(lblFile->text());
    lock.take();
    writePreviewPicturesLocked();
}

void TfrmListinoPrezzi::writePreviewPicturesLocked()
{
    int written = 0;
    std::array<QByteArray, BoxCount> jpegs;
    if (CatalogueFolder::makePhotoFolder()) {
        for (; written < BoxCount; ++written) {
            jpegs[size_t(written)] = photoJpeg(written);
            const QString path = CatalogueFolder::previewPath(lblNome->text(), written);
            if (path.isEmpty())
                break;
            QString error;
            if (!Covers::writeJpeg(path, QImage(), jpegs[size_t(written)], Covers::Keep::Scratch, &error)) {
                qCWarning(lcCatalogues, "immagine di anteprima del riquadro %d non scritta: %s", written + 1,
                          qUtf8Printable(Log::cause(error)));
                break;
            }
        }
    }
    // Only what was written now comes back: an older preview picture never
    // takes the place of a box's photo.
    for (int box = 0; box < written; ++box) {
        PictureBox *image = photo(box);
        if (image->sourceJpeg() == jpegs[size_t(box)] && image->image().size() == CatalogueFolder::PhotoSize)
            continue; // already the stored picture
        QImage picture;
        QByteArray jpeg;
        if (!Covers::readPicture(CatalogueFolder::previewPath(lblNome->text(), box), picture, &jpeg))
            break;
        image->setImage(picture, jpeg);
    }
}

void TfrmListinoPrezzi::loadPhotoFromFile(int box)
{
    FileChooser::Request request;
    request.name = QStringLiteral("dlgFile");
    request.title = QStringLiteral("Selezionare un file di immagine in formato Jpeg o Bitmap.");
    request.filters = {{QStringLiteral("Immagine JPEG (*.jpg; *.jpeg)"), QStringLiteral("*.jpg *.jpeg")},
                       {QStringLiteral("Immagine Bitmap (*.bmp)"), QStringLiteral("*.bmp")}};
    request.defaultSuffix = QStringLiteral("jpg");
    const QString chosen = FileChooser::choose(this, request);
    if (chosen.isEmpty())
        return;
    // The picture keeps its own size until the next save stretches it.
    Covers::loadInto(photo(box), chosen, placeholder());
}

// ---- browsing ---------------------------------------------------------------

bool TfrmListinoPrezzi::loadPage(CatalogueFile &file, int n)
{
    TPaginaCatalogo page;
    if (!file.read(n, page))
        return false;
    showPage(page);
    lblPosizione->setText(QString::number(n));
    file.close();
    loadBoxPhotos();
    return true;
}

void TfrmListinoPrezzi::cmdPrimoClick()
{
    browse(Browsing::Command::First);
}

void TfrmListinoPrezzi::cmdUltimoClick()
{
    browse(Browsing::Command::Last);
}

void TfrmListinoPrezzi::cmdAvantiClick()
{
    browse(Browsing::Command::Next);
}

void TfrmListinoPrezzi::cmdIndietroClick()
{
    browse(Browsing::Command::Previous);
}

void TfrmListinoPrezzi::browse(Browsing::Command command)
{
    // Whatever was typed or loaded on screen is replaced by the page read.
    CatalogueFile file(lblFile->text());
    if (!(mayCreateFile() ? file.open() : file.openExisting())) {
        if (!QFileInfo::exists(lblFile->text()))
            return Msg::warning(this, CatalogueFile::missingMessage(lblNome->text(), false));
        return reportAccessFailure();
    }
    RecordScreen::browse(this, lblPosizione, file, command,
                         [this](CatalogueFile &opened, int n) { return loadPage(opened, n); });
}

// ---- editing ------------------------------------------------------------------

void TfrmListinoPrezzi::cmdNuovoClick()
{
    blankPage();
}

TfrmListinoPrezzi::SaveOutcome TfrmListinoPrezzi::savePage()
{
    TPaginaCatalogo page;
    fillPage(page);
    const QString path = lblFile->text();
    const QString position = trimText(lblPosizione->text());
    const bool stored = !position.isEmpty();
    LockedSave::Options options;
    options.createMissing = mayCreateFile(); // a catalogue deleted elsewhere is not made again
    options.whileLocked = [this](int number) {
        saveBoxPhotos(number);
        writePreviewPicturesLocked();
    };
    QString error;
    options.error = &error;
    int number = stored ? position.toInt() : 0;
    std::optional<TPaginaCatalogo> current;
    const LockedSave::Result result = RecordSave::save(
        path, page, number, m_loaded, [this](int n) { return !Msg::answeredNo(this, changedElsewhereQuestion(n)); },
        current, options);
    if (result == LockedSave::Result::Changed) {
        showPage(*current);
        lblPosizione->setText(QString::number(number));
        loadBoxPhotos();
        return SaveOutcome::ShowingStored;
    }
    switch (result) {
    case LockedSave::Result::Saved:
        break;
    case LockedSave::Result::Busy:
        return SaveOutcome::Busy;
    case LockedSave::Result::Missing:
        return SaveOutcome::Missing;
    default:
        qCWarning(lcCatalogues, "pagina %s non salvata in %s: %s", stored ? qUtf8Printable(position) : "nuova",
                  qUtf8Printable(path), qUtf8Printable(Log::cause(error)));
        return SaveOutcome::AccessFailure;
    }
    m_loaded = page;
    lblPosizione->setText(QString::number(number));
    return stored ? SaveOutcome::Rewritten : SaveOutcome::Appended;
}

QString TfrmListinoPrezzi::changedElsewhereQuestion(int number)
{
    return QStringLiteral("Attenzione: la pagina n. %1 del catalogo è stata modificata da un'altra postazione dopo "
                          "che è stata aperta su questa.\n\r\n\rSi desidera sovrascriverla con i dati "
                          "visualizzati?\n\r\n\rRispondendo No verrà mostrata la pagina come si trova ora in "
                          "archivio.")
        .arg(number);
}

void TfrmListinoPrezzi::cmdSalvaClick()
{
    for (TRiquadro::Field f : kScreenOrder) {
        QLineEdit *edit = field(0, f);
        if (trimText(edit->text()).isEmpty()) {
            Msg::warning(this, QStringLiteral("Attenzione: per salvare la scheda è necessario compilare i campi "
                                              "riguardanti la persona che appare in cima alla pagina."));
            edit->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    const SaveOutcome outcome = savePage();
    // Told once the lock is let go: a message never holds other workstations up.
    const QString pictureProblem = CatalogueFolder::pictureNameProblem(lblNome->text());
    if (!pictureProblem.isEmpty() && (outcome == SaveOutcome::Rewritten || outcome == SaveOutcome::Appended))
        Msg::warning(this, pictureProblem);
    switch (outcome) {
    case SaveOutcome::AccessFailure:
        return reportAccessFailure();
    case SaveOutcome::Busy:
        return Msg::warning(this, WriteLock::busyMessage());
    case SaveOutcome::Missing:
        return Msg::warning(this, CatalogueFile::missingMessage(lblNome->text(), true));
    case SaveOutcome::ShowingStored:
        return;
    case SaveOutcome::Rewritten:
    case SaveOutcome::Appended:
        return Msg::information(this, RecordScreen::savedMessage(outcome == SaveOutcome::Rewritten));
    }
}

void TfrmListinoPrezzi::importCard(int box)
{
    // The search hands back the chosen card; this screen fills the box with it.
    const QString tag = QStringLiteral("libro_") + CatalogueFolder::boxLetter(box).toLower();
    Screens::runModal<TfrmTrovaLibri>(this, [this, &tag](TfrmTrovaLibri &search) {
        search.setCaller(tag);
        receiveFrom(search);
    });
}

void TfrmListinoPrezzi::openCatalogue(const QString &file, const QString &name)
{
    lblFile->setText(file);
    lblNome->setText(name);
}

void TfrmListinoPrezzi::receiveFrom(TfrmTrovaLibri &search)
{
    connect(&search, &TfrmTrovaLibri::cardChosenForBox, this, &TfrmListinoPrezzi::takeFoundCard);
}

void TfrmListinoPrezzi::takeFoundCard(const TSchedaLibro &card, int number, int box)
{
    // Nothing is cut here: a text longer than its field is shown whole and
    // cut only when the page is saved.
    field(box, TRiquadro::Nome)->setText(card.text(TSchedaLibro::Titolo));
    field(box, TRiquadro::UM)
        ->setText(card.text(TSchedaLibro::Autore) + QStringLiteral("  -  ") + card.text(TSchedaLibro::Editore) +
                  QStringLiteral(" (") + card.text(TSchedaLibro::Anno) + QLatin1Char(')'));
    field(box, TRiquadro::Caratteristiche)->setText(card.text(TSchedaLibro::Note));
    field(box, TRiquadro::Codice)->setText(QStringLiteral("ISBN: ") + card.text(TSchedaLibro::ISBN));
    field(box, TRiquadro::Prezzo)->setText(QStringLiteral("€ ") + card.text(TSchedaLibro::Prezzo));
    lblRecord->setText(QString::number(number));
    const QString cover = Covers::path(lblRecord->text());
    if (cover.isEmpty() || !Covers::makeFolder())
        return photo(box)->setImage(placeholder());
    Covers::loadInto(photo(box), cover, placeholder());
}

// ---- other commands -------------------------------------------------------------

// Both print windows take the page on screen; the photos are first made
// the 282 x 366 pictures that are stored and printed.
void TfrmListinoPrezzi::cmdAnteprimaClick()
{
    writePreviewPictures();
    Screens::runModal<TfrmAnteprimaProdotto>(this, [this](TfrmAnteprimaProdotto &w) { w.setPage(printedPage()); });
}

void TfrmListinoPrezzi::cmdStampaClick()
{
    writePreviewPictures();
    Screens::runModal<TfrmStampaProdotto>(this, [this](TfrmStampaProdotto &w) { w.setPage(printedPage()); });
}

CataloguePageWindow::Page TfrmListinoPrezzi::printedPage() const
{
    static const TRiquadro::Field order[] = {TRiquadro::Nome, TRiquadro::UM, TRiquadro::Caratteristiche,
                                             TRiquadro::Codice, TRiquadro::Prezzo};
    CataloguePageWindow::Page page;
    page.name = lblNome->text();
    page.position = lblPosizione->text();
    for (int box = 0; box < BoxCount; ++box) {
        for (int f = 0; f < 5; ++f)
            page.texts[size_t(box)][size_t(f)] = field(box, order[f])->text();
        page.photos[size_t(box)] = photo(box)->image();
    }
    return page;
}

void TfrmListinoPrezzi::cmdGuidaClick()
{
    Screens::runModal<TfrmGuida>(
        this, [](TfrmGuida &help) { help.setTopic(HelpTopics::catalogoLibriTitle(), HelpTopics::catalogoLibri()); });
}

void TfrmListinoPrezzi::cmdEsciClick()
{
    close();
}

void TfrmListinoPrezzi::imgFoto_AClick()
{
    loadPhotoFromFile(0);
}

void TfrmListinoPrezzi::imgFoto_BClick()
{
    loadPhotoFromFile(1);
}

void TfrmListinoPrezzi::imgFoto_CClick()
{
    loadPhotoFromFile(2);
}

void TfrmListinoPrezzi::imgFoto_DClick()
{
    loadPhotoFromFile(3);
}

void TfrmListinoPrezzi::imgFoto_EClick()
{
    loadPhotoFromFile(4);
}

void TfrmListinoPrezzi::imgFoto_FClick()
{
    loadPhotoFromFile(5);
}

void TfrmListinoPrezzi::imgFoto_GClick()
{
    loadPhotoFromFile(6);
}

void TfrmListinoPrezzi::imgFoto_HClick()
{
    loadPhotoFromFile(7);
}

void TfrmListinoPrezzi::impProdotto_AClick()
{
    importCard(0);
}

void TfrmListinoPrezzi::impProdotto_BClick()
{
    importCard(1);
}

void TfrmListinoPrezzi::impProdotto_CClick()
{
    importCard(2);
}

void TfrmListinoPrezzi::impProdotto_DClick()
{
    importCard(3);
}

void TfrmListinoPrezzi::impProdotto_EClick()
{
    importCard(4);
}

void TfrmListinoPrezzi::impProdotto_FClick()
{
    importCard(5);
}

void TfrmListinoPrezzi::impProdotto_GClick()
{
    importCard(6);
}

void TfrmListinoPrezzi::impProdotto_HClick()
{
    importCard(7);
}
