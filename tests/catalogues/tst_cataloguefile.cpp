// The catalogue page record, the page file and the catalogue folder's
// naming rules, byte for byte.
#include "common/filefixtures.h"

#include "catalogues/cataloguefile.h"
#include "catalogues/cataloguefolder.h"
#include "catalogues/cataloguepage.h"
#include "core/programfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
/// A page whose every field says which box and field it is: "A0".."H4".
TPaginaCatalogo markedPage(const QString &tag = QString())
{
    TPaginaCatalogo page;
    for (int box = 0; box < TPaginaCatalogo::BoxCount; ++box)
        for (int field = 0; field < TRiquadro::FieldCount; ++field)
            page.setText(box, field, tag + QChar(u'A' + box) + QString::number(field));
    return page;
}
} // namespace

class TestCatalogueFile : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ProgramFolder::setPath(m_dir->path());
    }
    void cleanup()
    {
        ProgramFolder::setPath(QString());
        m_dir.reset();
    }

    void fieldLayout_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("capacity");
        QTest::newRow("Codice") << int(TRiquadro::Codice) << 0 << 40;
        QTest::newRow("Nome") << int(TRiquadro::Nome) << 41 << 50;
        QTest::newRow("UM") << int(TRiquadro::UM) << 92 << 250;
        QTest::newRow("Caratteristiche") << int(TRiquadro::Caratteristiche) << 343 << 250;
        QTest::newRow("Prezzo") << int(TRiquadro::Prezzo) << 594 << 30;
    }
    void fieldLayout()
    {
        // Every field of every box at 625 x box + its offset, filled to its
        // capacity: the last character lies just before the next field.
        QFETCH(int, field);
        QFETCH(int, offset);
        QFETCH(int, capacity);
        QCOMPARE(TRiquadro::capacity(field), capacity);
        for (int box = 0; box < 8; ++box) {
            TPaginaCatalogo page;
            const QString full = QString(capacity - 1, QLatin1Char('x')) + QChar(u'A' + box);
            page.setText(box, field, full);
            const int at = 625 * box + offset;
            QCOMPARE(TPaginaCatalogo::offset(box, field), at);
            QCOMPARE(quint8(page.data()[at]), quint8(capacity));
            QCOMPARE(page.data()[at + capacity], char('A' + box));
            const QByteArray record(page.data(), TPaginaCatalogo::RecordSize);
            QCOMPARE(record.count('x'), capacity - 1); // nothing written elsewhere
            QCOMPARE(page.text(box, field), full);
        }
    }

    void storingRule_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("stored"); // length byte and characters
        QTest::addColumn<QString>("readBack");
        const QString sixty = QStringLiteral("Il nome della rosa, edizione illustrata con note e apparati.");
        QCOMPARE(sixty.size(), 60);
        QTest::newRow("title of 60 kept as 50")
            << int(TRiquadro::Nome) << sixty << QByteArray("\x32") + sixty.left(50).toLatin1() << sixty.left(50);
        QTest::newRow("price of 31 kept as 30")
            << int(TRiquadro::Prezzo) << QString(31, QLatin1Char('9')) << QByteArray("\x1e") + QByteArray(30, '9')
            << QString(30, QLatin1Char('9'));
        QTest::newRow("euro sign is byte 128") << int(TRiquadro::Prezzo) << QStringLiteral("€ 12,50")
                                               << QByteArray("\x07\x80 12,50") << QStringLiteral("€ 12,50");
        QTest::newRow("trimmed both ways")
            << int(TRiquadro::UM) << QStringLiteral(" \t Eco  -  Bompiani (1980)\r\n")
            << QByteArray("\x17") + "Eco  -  Bompiani (1980)" << QStringLiteral("Eco  -  Bompiani (1980)");
        QTest::newRow("accents") << int(TRiquadro::Caratteristiche) << QStringLiteral("Città, perché")
                                 << QByteArray("\x0d"
                                               "Citt\xe0, perch\xe9")
                                 << QStringLiteral("Città, perché");
        QTest::newRow("not in the code page") << int(TRiquadro::Codice) << QStringLiteral("ISBN: 中")
                                              << QByteArray("\x07ISBN: ?") << QStringLiteral("ISBN: ?");
        QTest::newRow("blanks only") << int(TRiquadro::Nome) << QStringLiteral("   ") << QByteArray("\x00", 1)
                                     << QString();
    }
    void storingRule()
    {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QByteArray, stored);
        QFETCH(QString, readBack);
        TPaginaCatalogo page;
        page.setText(3, field, typed);
        const int at = TPaginaCatalogo::offset(3, field);
        QCOMPARE(QByteArray(page.data() + at, stored.size()), stored);
        QCOMPARE(page.text(3, field), readBack);
    }

    void fillerIsZero()
    {
        // A long text replaced by a short one leaves zeros, not its tail.
        TPaginaCatalogo page = markedPage(QString(240, QLatin1Char('#')));
        for (int box = 0; box < 8; ++box)
            for (int field = 0; field < TRiquadro::FieldCount; ++field)
                page.setText(box, field, field == TRiquadro::Nome ? QStringLiteral("Breve") : QString());
        QByteArray expected(TPaginaCatalogo::RecordSize, '\0');
        for (int box = 0; box < 8; ++box)
            expected.replace(TPaginaCatalogo::offset(box, TRiquadro::Nome), 6,
                             "\x05"
                             "Breve");
        QCOMPARE(QByteArray(page.data(), TPaginaCatalogo::RecordSize), expected);
    }

    void damagedLengthStaysInItsField()
    {
        TPaginaCatalogo page = markedPage();
        page.data()[TPaginaCatalogo::offset(0, TRiquadro::Prezzo)] = char(200);
        QCOMPARE(page.text(0, TRiquadro::Prezzo).size(), 2); // "A4", then zeros, trimmed
        QCOMPARE(page.bytes(0, TRiquadro::Prezzo).size(), 30);
    }

    void countReadAppendRewrite()
    {
        const QString path = CatalogueFolder::path(QStringLiteral("Narrativa"));
        {
            CatalogueFile file(path);
            QVERIFY(!QFile::exists(path));
            QVERIFY(file.open()); // a missing file is created empty
            QCOMPARE(file.count(), 0);
            QCOMPARE(file.append(markedPage(QStringLiteral("1"))), 1);
            QCOMPARE(file.append(markedPage(QStringLiteral("2"))), 2);
            QVERIFY(file.close());
        }
        QByteArray bytes = readFile(path);
        QCOMPARE(bytes.size(), 10000);
        QCOMPARE(bytes.mid(0, 4), QByteArray("\x03"
                                             "1A0"));
        QCOMPARE(bytes.mid(5000 + 4375 + 594, 4), QByteArray("\x03"
                                                             "2H4"));

        CatalogueFile file(path);
        QVERIFY(file.open());
        QCOMPARE(file.count(), 2);
        QCOMPARE(file.append(markedPage(QStringLiteral("3"))), 3); // at 10,000
        TPaginaCatalogo page;
        QVERIFY(file.read(2, page));
        QCOMPARE(page.text(4, TRiquadro::UM), QStringLiteral("2E2"));
        QVERIFY(!file.read(4, page));
        QVERIFY(!file.read(0, page));
        QVERIFY(file.write(2, markedPage(QStringLiteral("R"))));
        QVERIFY(file.close());

        const QByteArray after = readFile(path);
        QCOMPARE(after.size(), 15000);
        QCOMPARE(after.left(5000), bytes.left(5000));
        QCOMPARE(after.mid(5000, 5000), QByteArray(markedPage(QStringLiteral("R")).data(), 5000));
        QCOMPARE(after.mid(10000), QByteArray(markedPage(QStringLiteral("3")).data(), 5000));
    }

    void fragmentIsOverwrittenByTheNextAppend()
    {
        const QString path = CatalogueFolder::path(QStringLiteral("Resto"));
        QByteArray bytes(10000, 'p');
        bytes += QByteArray(1234, 'f');
        QVERIFY(writeFile(path, bytes));
        CatalogueFile file(path);
        QVERIFY(file.open());
        QCOMPARE(file.count(), 2);
        TPaginaCatalogo page;
        QVERIFY(!file.read(3, page)); // the fragment is no page
        QCOMPARE(file.append(markedPage()), 3);
        QVERIFY(file.close());
        const QByteArray after = readFile(path);
        QCOMPARE(after.size(), 15000);
        QCOMPARE(after.left(10000), bytes.left(10000));
        QVERIFY(!after.contains('f'));
    }

    void fileThatCannotBeOpenedIsNotReplaced()
    {
        const QString path = CatalogueFolder::path(QStringLiteral("Cartella"));
        QVERIFY(QDir().mkpath(path));
        CatalogueFile file(path);
        QVERIFY(!file.open());
        QCOMPARE(file.count(), 0);
        QCOMPARE(file.append(markedPage()), 0);
        QVERIFY(QFileInfo(path).isDir());
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem"); // a word of the warning, or empty when the name is usable
        QTest::newRow("plain") << "Narrativa"
                               << "";
        QTest::newRow("blanks and accents") << "Poesia del Novecento - è così"
                                            << "";
        QTest::newRow("one dot") << "Vol. 2"
                                 << "";
        QTest::newRow("reserved word inside") << "Concerti e console"
                                              << "";
        QTest::newRow("COM10 is not a port") << "COM10"
                                             << "";
        QTest::newRow("longest") << QString(230, QLatin1Char('n')) << "";
        QTest::newRow("empty") << ""
                               << "indicare il nome";
        QTest::newRow("slash") << "Narrativa/Gialli"
                               << "caratteri";
        QTest::newRow("backslash") << "..\\Gialli"
                                   << "caratteri";
        QTest::newRow("drive") << "C:Gialli"
                               << "caratteri";
        QTest::newRow("pipe") << "Gialli|Noir"
                              << "caratteri";
        QTest::newRow("star") << "Gialli*"
                              << "caratteri";
        QTest::newRow("question") << "Gialli?"
                                  << "caratteri";
        QTest::newRow("quote") << "\"Gialli\""
                               << "caratteri";
        QTest::newRow("angle") << "<Gialli>"
                               << "caratteri";
        QTest::newRow("tab inside") << "Gial\tli"
                                    << "caratteri";
        QTest::newRow("dot dot") << ".."
                                 << "due punti";
        QTest::newRow("dot dot inside") << "Gialli..Noir"
                                        << "due punti";
        QTest::newRow("con") << "con"
                             << "riservato";
        QTest::newRow("CON") << "CON"
                             << "riservato";
        QTest::newRow("Prn") << "Prn"
                             << "riservato";
        QTest::newRow("aux") << "aux"
                             << "riservato";
        QTest::newRow("NuL") << "NuL"
                             << "riservato";
        QTest::newRow("com1") << "com1"
                              << "riservato";
        QTest::newRow("COM9") << "COM9"
                              << "riservato";
        QTest::newRow("lpt1") << "lpt1"
                              << "riservato";
        QTest::newRow("Lpt9") << "Lpt9"
                              << "riservato";
        QTest::newRow("COM superscript") << "COM\u00B9"
                                         << "riservato";
        QTest::newRow("with an extension") << "con.txt"
                                           << "riservato";
        QTest::newRow("blank before the dot") << "NUL .old"
                                              << "riservato";
        QTest::newRow("conout$") << "conout$"
                                 << "riservato";
        QTest::newRow("too long") << QString(231, QLatin1Char('n')) << "troppo lungo";
    }
    void names()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        const QString found = CatalogueFolder::nameProblem(name);
        if (problem.isEmpty()) {
            QVERIFY2(found.isEmpty(), qPrintable(found));
            QVERIFY(!CatalogueFolder::photoPath(name, 0, QStringLiteral("1")).isEmpty());
        } else {
            QVERIFY2(found.startsWith(QStringLiteral("Attenzione: ")), qPrintable(found));
            QVERIFY2(found.contains(problem), qPrintable(found));
        }
        // A name refused for a new catalogue may still be the name of a file
        // copied in by hand: its pictures are named unless that would lead
        // out of Foto_Gruppo, and then the user is told.
        const bool named = CatalogueFolder::pictureNameProblem(name).isEmpty();
        for (const QString &picture :
             {CatalogueFolder::photoPath(name, 0, QStringLiteral("1")), CatalogueFolder::previewPath(name, 7)}) {
            QCOMPARE(!picture.isEmpty(), named);
            if (named) {
                QVERIFY(picture.startsWith(CatalogueFolder::photoFolder()));
                const QString file = picture.mid(CatalogueFolder::photoFolder().size());
                QVERIFY2(!file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\')) &&
                             !file.contains(QLatin1Char(':')),
                         qPrintable(file));
            }
        }
        const bool leadsOut = name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
                              name.contains(QLatin1Char(':')) || name.trimmed().isEmpty() ||
                              QStringLiteral("con.txt|NUL .old").split(QLatin1Char('|')).contains(name);
        QCOMPARE(named, !leadsOut);
    }

    void pictureNames()
    {
        const QString folder = ProgramFolder::path() + QStringLiteral("Foto_Gruppo/");
        QCOMPARE(CatalogueFolder::photoFolder(), folder);
        QCOMPARE(CatalogueFolder::photoPath(QStringLiteral(" Narrativa "), 2, QStringLiteral(" 12 ")),
                 folder + QStringLiteral("Narrativa_Foto_C_12.jpg"));
        QCOMPARE(CatalogueFolder::photoPath(QStringLiteral("Narrativa"), 7, QStringLiteral("10000")),
                 folder + QStringLiteral("Narrativa_Foto_H_10000.jpg"));
        QCOMPARE(CatalogueFolder::previewPath(QStringLiteral("Narrativa"), 0),
                 folder + QStringLiteral("Narrativa_Anteprima_A.jpg"));
        for (const char *page : {"", "0", "012", "-1", "1.5", "x", "+3"})
            QVERIFY2(CatalogueFolder::photoPath(QStringLiteral("Narrativa"), 0, QString::fromLatin1(page)).isEmpty(),
                     page);
        QVERIFY(CatalogueFolder::photoPath(QStringLiteral("Narrativa"), 8, QStringLiteral("1")).isEmpty());
        QVERIFY(CatalogueFolder::photoPath(QString(), 0, QStringLiteral("1")).isEmpty());
    }

    void listing()
    {
        const QString root = ProgramFolder::path();
        for (const char *name : {"poesia.cat", "Narrativa.cat", "Zeta.CAT", "archivio.txt", "cat", "Saggi.cat.bak"})
            QVERIFY(writeFile(root + QString::fromLatin1(name), QByteArray()));
        QVERIFY(QDir().mkpath(root + QStringLiteral("Sotto")));
        QVERIFY(writeFile(root + QStringLiteral("Sotto/Nascosto.cat"), QByteArray()));
        QVERIFY(QDir().mkpath(root + QStringLiteral("Cartella.cat"))); // a folder is no catalogue
        QCOMPARE(CatalogueFolder::list(), QStringList({QStringLiteral("Narrativa.cat"), QStringLiteral("poesia.cat"),
                                                       QStringLiteral("Zeta.CAT")}));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestCatalogueFile)
#include "tst_cataloguefile.moc"
