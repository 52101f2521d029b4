#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;

/// The help window: one topic (a title and its paragraphs) given by the
/// screen that opens it.
class TfrmGuida : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGuida(QWidget *parent = nullptr);

    /// Shows a topic: the title in lblTitolo, the body in txtGuida.
    void setTopic(const QString &title, const QString &body);

    QLabel *lblTitolo;
    QPlainTextEdit *txtGuida;
};
