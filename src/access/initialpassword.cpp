// Puts the settings file "unins000.dll" with the initial password in place:
//   rilegora-initial-password <path of unins000.dll> <password>
// An existing file is left untouched, so a changed password survives.
#include "passwordstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: rilegora-initial-password <unins000.dll> <password>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    switch (PasswordStore::createInitialFile(path, QString::fromLocal8Bit(argv[2]), &error)) {
    case PasswordStore::Creation::Created:
        std::printf("created %s\n", qPrintable(QDir::toNativeSeparators(path)));
        return 0;
    case PasswordStore::Creation::AlreadyThere:
        std::printf("kept %s\n", qPrintable(QDir::toNativeSeparators(path)));
        return 0;
    case PasswordStore::Creation::Failed:
        break;
    }
    std::fprintf(stderr, "cannot create %s: %s\n", qPrintable(path), qPrintable(error));
    return 1;
}
