#include "recordscreen.h"

#include "core/bookarchive.h"
#include "kit/conventions.h"

namespace RecordScreen {

QString noRecordsMessage()
{
    return QStringLiteral("L'archivio non contiene nessuna scheda.");
}

QString savedMessage(bool rewritten)
{
    return rewritten ? QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.")
                     : QStringLiteral("La scheda corrente è stata inserita in archivio.");
}

void reportAccessFailure(QWidget *screen)
{
    Msg::error(screen, BookArchive::accessFailureMessage());
}

void addHints(HintBar *bar, const QList<QPair<QWidget *, QString>> &commands, const QList<QWidget *> &grounds)
{
    for (const auto &hint : commands)
        bar->addCommand(hint.first, hint.second);
    for (QWidget *ground : grounds)
        bar->addGround(ground);
}

} // namespace RecordScreen
