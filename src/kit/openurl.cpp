#include "openurl.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

void TMisc::Open(const QString &text)
{
    QString target = text.trimmed();
    if (target.size() >= 2 && target.startsWith(QLatin1Char('"')) && target.endsWith(QLatin1Char('"')))
        target = target.mid(1, target.size() - 2);
    if (target.isEmpty())
        return;
    const QUrl asUrl(target, QUrl::StrictMode);
    const QString scheme = asUrl.scheme().toLower();
    // A drive letter ("C:") parses as a one-letter scheme: that is a path.
    const bool isAddress = asUrl.isValid() && scheme.size() > 1 &&
                           (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                            scheme == QLatin1String("mailto") || scheme == QLatin1String("file"));
    QDesktopServices::openUrl(isAddress ? asUrl : QUrl::fromLocalFile(QDir::fromNativeSeparators(target)));
}
