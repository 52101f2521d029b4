#include "testsupport.h"

#include "core/programfolder.h"
#include "kit/regional.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>

TempProgramFolder::TempProgramFolder()
{
    ProgramFolder::setPath(m_dir.path());
}

TempProgramFolder::~TempProgramFolder()
{
    ProgramFolder::setPath(QString());
}

QString TempProgramFolder::path() const
{
    return ProgramFolder::path();
}

QString TempProgramFolder::file(const QString &relative) const
{
    return path() + relative;
}

MessageCatcher::MessageCatcher()
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &MessageCatcher::poll);
    m_timer.start();
}

QStringList MessageCatcher::texts() const
{
    QStringList out;
    for (const Seen &s : m_seen)
        out << s.text;
    return out;
}

void MessageCatcher::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);
    m_seen.append({box->icon(), box->windowTitle(), box->text(), box->standardButtons()});
    QAbstractButton *button = nullptr;
    if (!m_answers.isEmpty())
        button = box->button(m_answers.takeFirst());
    if (!button && !box->buttons().isEmpty()) {
        const auto all = box->standardButtons();
        for (auto b : {QMessageBox::Ok, QMessageBox::Yes}) {
            if (all & b) {
                button = box->button(b);
                break;
            }
        }
        if (!button)
            button = box->buttons().first();
    }
    if (button)
        button->click();
}

void prepareScreenTests()
{
    Regional::installTranslation(QCoreApplication::instance());
    Regional::apply();
}
