#include "browsing.h"

#include "texttrim.h"

#include <QtGlobal>

namespace Browsing {

Step step(Command command, const QString &position, int count)
{
    const QString shown = trimText(position);
    const int current = shown.toInt();
    if (command == Command::Previous && shown == QLatin1String("1"))
        return {Step::Stay, 0, false};
    if (count == 0)
        return {Step::Empty, 0, command == Command::Next};
    switch (command) {
    case Command::First:
        return {Step::Load, 1, false};
    case Command::Last:
        return {Step::Load, count, false};
    case Command::Next:
        return current >= count ? Step{Step::Stay, 0, false} : Step{Step::Load, qMax(0, current) + 1, false};
    case Command::Previous:
        return {Step::Load, shown.isEmpty() || current < 2 ? 1 : qMin(current - 1, count), false};
    }
    return {};
}

} // namespace Browsing
