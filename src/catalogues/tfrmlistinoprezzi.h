#pragma once

#include "cataloguepage.h"
#include "cataloguepageprint.h"

#include "core/browsing.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <optional>

class HintBar;
class TSchedaLibro;
class TfrmTrovaLibri;
class CatalogueFile;
class PictureBox;
class PictureButton;
class QLabel;
class QLineEdit;

/// Window " Rilegora - Catalogo Libri", the page editor: one catalogue page
/// at a time as eight boxes A to H, each with a photo and five lines of text,
/// and the commands that page through, enter, save and fill them.
///
/// Its state lives in its controls: lblFile (the catalogue file) and lblNome
/// (the catalogue name), set through openCatalogue by the open-catalogue screen; lblPosizione, the
/// number of the page on screen (empty for a page not yet in the file); the
/// 40 edit boxes and the eight photo images. The controls are its own: other
/// screens hand it a catalogue or a page through its functions.
class TfrmListinoPrezzi : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmListinoPrezzi(QWidget *parent = nullptr);
    ~TfrmListinoPrezzi() override;

    /// The placeholder that stands for a missing photo (imgBianco's picture).
    QImage placeholder() const;

    static constexpr int BoxCount = TPaginaCatalogo::BoxCount;
    /// Fills the 40 boxes from a page, trimmed.
    void showPage(const TPaginaCatalogo &page);
    /// Fills a page from the 40 boxes by the storing rule.
    void fillPage(TPaginaCatalogo &page) const;

    /// Writes the catalogue's eight preview pictures (282 x 366 JPEG of each
    /// box's photo) and loads them back into the photo images, so that every
    /// photo on screen is the picture that is stored and printed. An
    /// unchanged photo is written with the bytes it was read from; a changed
    /// one is stretched and encoded once. Failures are silent: the first
    /// failing box ends the writing, and only the pictures written now are
    /// loaded back. Previews and prints call it first; a save ends with it.
    void writePreviewPictures();

    enum class SaveOutcome { Appended, Rewritten, AccessFailure, Busy, Missing, ShowingStored };
    /// Salva without the box A check and the closing message: under the
    /// catalogue's write lock, writes the page in place or after the last
    /// page (taking its number from the file as it then is), then its eight
    /// box photos, then the preview pictures. A page changed on another
    /// workstation since it was loaded is overwritten only when the user says
    /// so; otherwise it is shown as it now is (ShowingStored). On
    /// AccessFailure, Busy and Missing nothing was written and the screen is
    /// as it was.
    SaveOutcome savePage();
    /// The question asked when page number changed on another workstation
    /// since this screen loaded it.
    static QString changedElsewhereQuestion(int number);

    /// Fills box 0..7 from a card the search found (record number
    /// number): its five texts, shown whole (cut only when the page is
    /// saved), and the card's cover or the placeholder as the box photo.
    void takeFoundCard(const TSchedaLibro &card, int number, int box);
    /// The page on screen as the print windows take it, saved or not.
    CataloguePageWindow::Page printedPage() const;

    /// Takes the catalogue to edit: its file and its name (shown when the screen opens).
    void openCatalogue(const QString &file, const QString &name);
    /// Wires a search window opened by this screen to takeFoundCard().
    void receiveFrom(TfrmTrovaLibri &search);

signals:
    /// The editor is closed; the way out is the launcher.
    void leftToLauncher();

public slots:
    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void imgFoto_AClick();
    void imgFoto_BClick();
    void imgFoto_CClick();
    void imgFoto_DClick();
    void imgFoto_EClick();
    void imgFoto_FClick();
    void imgFoto_GClick();
    void imgFoto_HClick();
    void impProdotto_AClick();
    void impProdotto_BClick();
    void impProdotto_CClick();
    void impProdotto_DClick();
    void impProdotto_EClick();
    void impProdotto_FClick();
    void impProdotto_GClick();
    void impProdotto_HClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    /// The edit box of one field (a TRiquadro::Field) of box 0..7 (A..H).
    QLineEdit *field(int box, int field) const { return m_fields[size_t(box)][size_t(field)]; }
    /// The photo image of box 0..7.
    PictureBox *photo(int box) const { return m_photos[size_t(box)]; }
    /// The import button of box 0..7.
    PictureButton *importButton(int box) const { return m_imports[size_t(box)]; }

    /// The controls and handlers of one box.
    struct BoxControls;
    static const BoxControls &boxControls(int box);

    // Box A..H: the five edit boxes, in the order of the screen.
    QLineEdit *txtNome_A, *txtUM_A, *txtCaratteristiche_A, *txtCodice_A, *txtPrezzo_A;
    QLineEdit *txtNome_B, *txtUM_B, *txtCaratteristiche_B, *txtCodice_B, *txtPrezzo_B;
    QLineEdit *txtNome_C, *txtUM_C, *txtCaratteristiche_C, *txtCodice_C, *txtPrezzo_C;
    QLineEdit *txtNome_D, *txtUM_D, *txtCaratteristiche_D, *txtCodice_D, *txtPrezzo_D;
    QLineEdit *txtNome_E, *txtUM_E, *txtCaratteristiche_E, *txtCodice_E, *txtPrezzo_E;
    QLineEdit *txtNome_F, *txtUM_F, *txtCaratteristiche_F, *txtCodice_F, *txtPrezzo_F;
    QLineEdit *txtNome_G, *txtUM_G, *txtCaratteristiche_G, *txtCodice_G, *txtPrezzo_G;
    QLineEdit *txtNome_H, *txtUM_H, *txtCaratteristiche_H, *txtCodice_H, *txtPrezzo_H;
    PictureBox *imgFoto_A, *imgFoto_B, *imgFoto_C, *imgFoto_D, *imgFoto_E, *imgFoto_F, *imgFoto_G, *imgFoto_H;
    PictureButton *impProdotto_A, *impProdotto_B, *impProdotto_C, *impProdotto_D, *impProdotto_E, *impProdotto_F,
        *impProdotto_G, *impProdotto_H;
    PictureBox *imgBianco;
    QLabel *lblNome, *lblPosizione, *lblFile, *lblRecord, *panInfo;
    PictureButton *cmdNuovo, *cmdSalva, *cmdAnteprima, *cmdStampa, *cmdPrimo, *cmdIndietro, *cmdAvanti, *cmdUltimo,
        *cmdGuida, *cmdEsci;

    void FormShow();
    void FormClose();
    void buildLayout();
    void buildBox(QWidget *panel, int box);
    void blankPage();
    /// Reads page n into the screen, closes the file and loads the page's
    /// photos; false when the page could not be read.
    bool loadPage(CatalogueFile &file, int n);
    /// One browsing command: the file opened, the page it shows loaded.
    void browse(Browsing::Command command);
    void loadBoxPhotos();
    void saveBoxPhotos(int number);
    /// writePreviewPictures() for a caller that holds the catalogue's lock.
    void writePreviewPicturesLocked();
    /// The 282 x 366 JPEG of a box's photo: the bytes it was read from when
    /// it is an unchanged picture of that size, else the picture stretched
    /// and encoded (once for as long as the picture stays the same).
    QByteArray photoJpeg(int box);
    void loadPhotoFromFile(int box);
    void importCard(int box);
    void reportAccessFailure();

    std::array<std::array<QLineEdit *, TRiquadro::FieldCount>, BoxCount> m_fields{};
    std::array<PictureBox *, BoxCount> m_photos{};
    std::array<PictureButton *, BoxCount> m_imports{};
    struct Encoded
    {
        qint64 key = 0;
        QByteArray jpeg;
    };
    std::array<Encoded, BoxCount> m_encoded{};
    HintBar *m_hints = nullptr;
    /// The page as it was read or last saved, to tell whether another
    /// workstation changed it before a save; unset for a page not from disk.
    std::optional<TPaginaCatalogo> m_loaded;
    /// The catalogue file when the screen was shown, and whether it existed
    /// then: one that existed and is gone was deleted on another workstation,
    /// and is never made again behind the user's back.
    QString m_shownFile;
    bool m_shownFileExisted = false;
    /// Whether a missing catalogue file may be created (it was missing
    /// already when the screen was shown on it).
    bool mayCreateFile() const;
};
