#include "messages.h"

#include <QMessageBox>

namespace {
QMessageBox::StandardButton run(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setObjectName(QStringLiteral("msgBox"));
    return QMessageBox::StandardButton(box.exec());
}
} // namespace

namespace Msg {

void information(QWidget *parent, const QString &text)
{
    run(parent, QMessageBox::Information, QStringLiteral("Informazione"), text, QMessageBox::Ok | QMessageBox::Cancel);
}

void warning(QWidget *parent, const QString &text)
{
    run(parent, QMessageBox::Warning, QStringLiteral("Avviso"), text, QMessageBox::Ok | QMessageBox::Cancel);
}

void error(QWidget *parent, const QString &text)
{
    run(parent, QMessageBox::Critical, QStringLiteral("Errore"), text, QMessageBox::Ok | QMessageBox::Cancel);
}

void plain(QWidget *parent, const QString &text)
{
    run(parent, QMessageBox::NoIcon, QStringLiteral("Rilegora"), text, QMessageBox::Ok);
}

bool answeredNo(QWidget *parent, const QString &text)
{
    return run(parent, QMessageBox::Question, QStringLiteral("Conferma"), text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::No;
}

} // namespace Msg
