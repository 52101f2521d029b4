#include "filechooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace FileChooser {

namespace {
QStringList &queued()
{
    static QStringList answers;
    return answers;
}

QString withSuffix(const QString &path, const Request &request)
{
    if (path.isEmpty() || request.defaultSuffix.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    // A file to open that exists under the name as typed is that file.
    if (request.kind == Request::Open && QFileInfo::exists(path))
        return path;
    return path + QLatin1Char('.') + request.defaultSuffix;
}
} // namespace

QList<Request> &requests()
{
    static QList<Request> seen;
    return seen;
}

void answerNext(const QString &path)
{
    queued().append(path);
}

QStringList qtFilters(const Request &request)
{
    QStringList out;
    for (const auto &filter : request.filters)
        out << filter.first + QStringLiteral(" (") + filter.second + QLatin1Char(')');
    return out;
}

QString choose(QWidget *parent, const Request &request)
{
    if (!queued().isEmpty()) {
        requests().append(request);
        return withSuffix(queued().takeFirst(), request);
    }
    QFileDialog dialog(parent, request.title);
    dialog.setObjectName(request.name);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(qtFilters(request));
    if (request.kind == Request::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (!request.proposedName.isEmpty())
            dialog.selectFile(request.proposedName);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(request.defaultSuffix);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return withSuffix(dialog.selectedFiles().constFirst(), request);
}

} // namespace FileChooser
