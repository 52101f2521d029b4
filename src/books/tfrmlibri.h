#pragma once

#include "core/bookrecord.h"

#include "core/browsing.h"
#include "output/bookcardprint.h"

#include <QWidget>

#include <array>
#include <optional>

class BookArchive;
class TfrmAllegaCartella;
class TfrmCodici_Dewey;
class TfrmTrovaLibri;
class HintBar;
class PictureBox;
class PictureButton;
class QLabel;
class QLineEdit;
class QPushButton;

/// The card index work screen: one book card at a time, its cover, and the
/// commands that page through, enter, save and duplicate cards.
///
/// Its state lives in its controls: the 22 edit boxes, the six hidden
/// attachment labels and lblPosizione, the number of the card on screen
/// (empty for a card not yet in the archive). The controls are its own: other
/// screens hand it a card through its functions (showCard, takeFoundCard).
class TfrmLibri : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmLibri(QWidget *parent = nullptr);
    ~TfrmLibri() override;

    /// Fills the 22 boxes and the six hidden labels from a card, trimmed.
    /// The card is the one read from the archive: a later save of it first
    /// checks that no other workstation changed it since.
    void showCard(const TSchedaLibro &card);
    /// Fills a card from the screen by the storing rule, field by field.
    void fillCard(TSchedaLibro &card) const;

    /// Shows the cover of the card whose number is in lblPosizione.
    void loadCover();
    /// Writes the picture in imgFoto as the cover of the card on screen.
    void saveCover();
    /// Writes the picture in imgFoto as the cover of card number.
    void saveCover(int number);
    /// The placeholder that stands for a missing cover (imgBianco's picture).
    QImage placeholder() const;

    /// The question asked when card number changed on another workstation
    /// since this screen loaded it.
    static QString changedElsewhereQuestion(int number);

    /// The body of this screen's help topic "App Schedario Libri".
    static QString helpTopic();

    /// The card on screen as the print windows take it: the 22 boxes as
    /// typed, saved or not, and the picture shown.
    BookCardWindow::Card printedCard() const;

    /// Shows a card the search found, as record number number, with its cover.
    void takeFoundCard(const TSchedaLibro &card, int number);
    /// Wires a window opened by this screen to the controls it fills: the
    /// search's card, the Dewey table's class (and the focus back in
    /// txtDewey however the table closes), the attachments' six texts.
    void receiveFrom(TfrmTrovaLibri &search);
    void receiveFrom(TfrmCodici_Dewey &table);
    void receiveFrom(TfrmAllegaCartella &dialog);

signals:
    /// The card index is closed; the way out is the launcher.
    void leftToLauncher();

public slots:
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdPrimoClick();
    void cmdIndietroClick();
    void cmdAvantiClick();
    void cmdUltimoClick();
    void cmdTrovaClick();
    void cmdFileClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdEsportaClick();
    void cmdSlideshowClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnCaricaFotoClick();
    void btnSalvaFotoClick();
    void btnCancFotoClick();
    void btnZoomFotoClick();
    void btnDeweyClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    /// The edit box of text field i (TSchedaLibro::Titolo .. TSchedaLibro::Note).
    QLineEdit *field(int i) const { return m_fields[size_t(i)]; }
    /// The hidden label of attachment field i (TSchedaLibro::File01 .. Desc03).
    QLabel *attachmentLabel(int i) const { return m_attachments[size_t(i - TSchedaLibro::File01)]; }

    // Edit boxes, in record order.
    QLineEdit *txtTitolo, *txtAutore, *txtNazione, *txtAnno, *txtEditore, *txtCitta, *txtDewey, *txtGenere, *txtISBN,
        *txtLingua, *txtOriginale, *txtTraduttore, *txtCollana, *txtCuratore, *txtPosizione, *txtEtichetta, *txtFormato,
        *txtVolumi, *txtPagine, *txtPrezzo, *txtGiudizio, *txtNote;
    // Hidden attachment labels.
    QLabel *lblFile01, *lblFile02, *lblFile03, *lblDesc01, *lblDesc02, *lblDesc03;
    QLabel *lblPosizione;
    QLabel *panInfo;
    PictureBox *imgFoto, *imgBianco;
    QPushButton *btnFocus;
    PictureButton *cmdNuovo, *cmdDuplica, *cmdSalva, *cmdTrova, *cmdFile, *cmdAnteprima, *cmdStampa, *cmdPrimo,
        *cmdIndietro, *cmdAvanti, *cmdUltimo, *cmdEsporta, *cmdSlideshow, *cmdGuida, *cmdEsci;
    PictureButton *btnCaricaFoto, *btnSalvaFoto, *btnCancFoto, *btnZoomFoto, *btnDewey;

    void FormShow();
    void FormClose();
    void blankState();
    void buildLayout();
    /// Reads card n into the screen and closes the archive; false on failure.
    bool loadCard(BookArchive &archive, int n);
    /// One browsing command: the archive opened, the card it shows loaded.
    void browse(Browsing::Command command);
    void reportAccessFailure();
    /// Shows card number as it now is in the archive (after a save refused
    /// because another workstation changed it).
    void showStoredCard(const TSchedaLibro &card, int number);

    std::array<QLineEdit *, TSchedaLibro::TextFieldCount> m_fields{};
    std::array<QLabel *, 6> m_attachments{};
    HintBar *m_hints = nullptr;
    TSchedaLibro m_record; ///< the screen's own record buffer
    /// The card as it was read or last saved, to tell whether another
    /// workstation changed it before a save; unset for a card not from disk.
    std::optional<TSchedaLibro> m_loaded;
};
