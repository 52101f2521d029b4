#include "cataloguefolder.h"

#include "core/boundedread.h"
#include "core/programfolder.h"
#include "core/texttrim.h"

#include <QCryptographicHash>
#include <QDir>

#include <algorithm>

namespace CatalogueFolder {

namespace {
const QString kExtension = QStringLiteral(".cat");

bool refusedCharacter(QChar c)
{
    return c.unicode() < 32 || QStringView(u"\"*/:<>?\\|").contains(c);
}

/// The longest file name the file systems take: 255 UTF-16 units on
/// Windows, 255 bytes on Linux; a UTF-8 byte count is never below the
/// UTF-16 one, so it holds for both.
constexpr int kMaxFileNameBytes = 255;

/// A picture's file name: the catalogue name and the tail ("_Foto_A_1.jpg").
/// Where the two are too long for a file name, the catalogue name is cut and
/// marked with eight hexadecimal digits drawn from the whole name, so that
/// two long names that begin alike still name different pictures.
QString pictureFileName(const QString &name, const QString &tail)
{
    const QString whole = name + tail;
    if (whole.toUtf8().size() <= kMaxFileNameBytes)
        return whole;
    const QString mark =
        QLatin1Char('~') +
        QString::fromLatin1(QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
    QString head = name;
    while (!head.isEmpty() && (head + mark + tail).toUtf8().size() > kMaxFileNameBytes)
        head.chop(head.size() >= 2 && head.back().isLowSurrogate() ? 2 : 1);
    return head + mark + tail;
}

/// Whether a text is a page number as the editor shows it.
bool isPageNumber(const QString &page)
{
    bool ok = false;
    const uint n = page.toUInt(&ok);
    return ok && n > 0 && QString::number(n) == page;
}
} // namespace

QString path(const QString &name)
{
    return ProgramFolder::file(name + kExtension);
}

QString nameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("Attenzione: per creare l'archivio è necessario indicare il nome del nuovo catalogo.");
    const QString retry = QStringLiteral("\r\n\r\nInserire un nome diverso.");
    if (std::any_of(name.cbegin(), name.cend(), refusedCharacter))
        return QStringLiteral("Attenzione: il nome del catalogo non può contenere i caratteri \\ / : * ? \" < > | "
                              "né caratteri di controllo.") +
               retry;
    if (name.contains(QLatin1String("..")))
        return QStringLiteral("Attenzione: il nome del catalogo non può contenere due punti consecutivi (..).") + retry;
    if (BoundedRead::isWindowsDeviceName(name))
        return QStringLiteral("Attenzione: il nome del catalogo indicato è riservato dal sistema operativo "
                              "(CON, PRN, AUX, NUL, COM1...COM9, LPT1...LPT9), anche se seguito da un punto e da "
                              "un'estensione.") +
               retry;
    if (name.size() > MaxNameLength)
        return QStringLiteral("Attenzione: il nome del catalogo indicato è troppo lungo.\r\n\r\nInserire un nome di "
                              "al massimo %1 caratteri.")
            .arg(MaxNameLength);
    return QString();
}

QStringList list()
{
    // The pattern ignores letter case, as it does on Windows.
    QStringList names = QDir(ProgramFolder::path())
                            .entryList({QStringLiteral("*") + kExtension}, QDir::Files | QDir::Hidden | QDir::System);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString photoFolder()
{
    return ProgramFolder::file(QStringLiteral("Foto_Gruppo/"));
}

bool makePhotoFolder()
{
    return QDir().mkpath(photoFolder());
}

QChar boxLetter(int box)
{
    return QChar(u'A' + box);
}

QString pictureNameProblem(const QString &catalogueName)
{
    const QString name = trimText(catalogueName);
    // A separator would lead into another folder, a colon into a stream of
    // another file on Windows, a device name to a device ("con.x_Foto_A_1.jpg"
    // is the console there); anything else makes a plain file name inside
    // Foto_Gruppo, ".." and long names included.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QLatin1Char(':')) || BoundedRead::isWindowsDeviceName(name + QLatin1Char('_')))
        return QStringLiteral("Attenzione: il nome del catalogo non può dare il nome ai file delle foto dei riquadri, "
                              "che quindi non sono state salvate.\r\n\r\nPer salvarle, rinominare il file del "
                              "catalogo con un nome che non contenga i caratteri \\ / : e non sia riservato dal "
                              "sistema operativo.");
    return QString();
}

QString photoPath(const QString &catalogueName, int box, const QString &page)
{
    const QString name = trimText(catalogueName);
    const QString number = trimText(page);
    if (box < 0 || box > 7 || !pictureNameProblem(name).isEmpty() || !isPageNumber(number))
        return QString();
    return photoFolder() + pictureFileName(name, QStringLiteral("_Foto_") + boxLetter(box) + QLatin1Char('_') + number +
                                                     QStringLiteral(".jpg"));
}

QString previewPath(const QString &catalogueName, int box)
{
    const QString name = trimText(catalogueName);
    if (box < 0 || box > 7 || !pictureNameProblem(name).isEmpty())
        return QString();
    return photoFolder() +
           pictureFileName(name, QStringLiteral("_Anteprima_") + boxLetter(box) + QStringLiteral(".jpg"));
}

} // namespace CatalogueFolder
