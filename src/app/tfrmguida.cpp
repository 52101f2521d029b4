#include "tfrmguida.h"

#include "app/screens.h"

#include <QLabel>
#include <QPlainTextEdit>

TfrmGuida::TfrmGuida(QWidget *parent) : QDialog(parent)
{
    Screens::setupDialog(this, QStringLiteral("TfrmGuida"), QStringLiteral(" Guida all'utilizzo del software"),
                         QSize(670, 572));
    lblTitolo = new QLabel(QStringLiteral("Argomento della guida."), this);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setGeometry(22, 118, 625, 22);
    txtGuida = new QPlainTextEdit(this);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setGeometry(22, 144, 625, 350);
    txtGuida->setReadOnly(true);
}

void TfrmGuida::setTopic(const QString &title, const QString &body)
{
    lblTitolo->setText(title);
    txtGuida->setPlainText(body);
}
