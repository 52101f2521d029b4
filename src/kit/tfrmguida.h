#pragma once

#include <QDialog>

class LinkText;
class PictureButton;
class QLabel;
class QPlainTextEdit;
class QPushButton;

/// The help window: one topic (a title and its paragraphs) given by the
/// screen that opens it, and a link to the whole manual in PDF.
class TfrmGuida : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(QWidget *parent = nullptr);

    /// Shows a topic: the title in lblTitolo, the body in txtGuida.
    void setTopic(const QString &title, const QString &body);

    /// The text handed to the shell for the manual: the program folder and
    /// "Guida.pdf" between double quotes, so that blanks in the path are safe.
    static QString manualTarget();

public slots:
    void lnkWebMouseDown();
    void lnkWebMouseUp();
    void lnkWebClick();
    void btnChiudiClick();

private:
    QLabel *lblTitolo;
    QPlainTextEdit *txtGuida;
    QWidget *shpSfondo;
    PictureButton *imgLogo;
    PictureButton *imgPDF;
    LinkText *lnkWeb;
    QPushButton *btnChiudi;
};
