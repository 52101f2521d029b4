#include "common/filefixtures.h"
#include "common/filesizelimit.h"

#include "core/bookarchive.h"
#include "core/bookrecord.h"
#include "core/filesync.h"
#include "core/programfolder.h"
#include "core/readahead.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>

#include <cstring>
#include <memory>

namespace {

TSchedaLibro cardTitled(const QString &title)
{
    TSchedaLibro card;
    card.setText(TSchedaLibro::Titolo, title);
    card.setText(TSchedaLibro::Autore, QStringLiteral("Autore di ") + title);
    return card;
}
} // namespace

class TestBookArchive : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        ProgramFolder::setPath(m_dir->path());
    }
    void cleanup() { ProgramFolder::setPath(QString()); }

    void layout_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("capacity");
        const int expected[][2] = {{0, 120},    {121, 50},   {172, 50},   {223, 20},   {244, 50},   {295, 50},
                                   {346, 12},   {359, 50},   {410, 20},   {431, 50},   {482, 120},  {603, 50},
                                   {654, 120},  {775, 50},   {826, 120},  {947, 50},   {998, 50},   {1049, 50},
                                   {1100, 20},  {1121, 20},  {1142, 250}, {1393, 250}, {1644, 250}, {1895, 250},
                                   {2146, 250}, {2397, 250}, {2648, 250}, {2899, 250}};
        for (int i = 0; i < TSchedaLibro::FieldCount; ++i)
            QTest::newRow(qPrintable(TSchedaLibro::name(i))) << i << expected[i][0] << expected[i][1];
    }
    void layout()
    {
        QFETCH(int, field);
        QFETCH(int, offset);
        QFETCH(int, capacity);
        QCOMPARE(TSchedaLibro::offset(field), offset);
        QCOMPARE(TSchedaLibro::capacity(field), capacity);
        // Writing the field touches only its own bytes.
        TSchedaLibro card;
        card.setText(field, QString(capacity + 10, QLatin1Char('x')));
        const char *d = card.data();
        QCOMPARE(int(static_cast<unsigned char>(d[offset])), capacity);
        for (int i = 0; i < TSchedaLibro::RecordSize; ++i) {
            const bool inside = i > offset && i <= offset + capacity;
            if (i != offset)
                QCOMPARE(d[i], inside ? 'x' : '\0');
        }
    }

    void storing_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("trimmed both ends")
            << int(TSchedaLibro::Autore) << QStringLiteral("  Rossi  ") << QByteArray("Rossi");
        QTest::newRow("title of 120") << int(TSchedaLibro::Titolo) << QString(120, QLatin1Char('T'))
                                      << QByteArray(120, 'T');
        QTest::newRow("title cut at 120")
            << int(TSchedaLibro::Titolo) << QString(130, QLatin1Char('T')) << QByteArray(120, 'T');
        QTest::newRow("dewey cut at 12") << int(TSchedaLibro::Dewey) << QStringLiteral("853.914 ABCDEFG")
                                         << QByteArray("853.914 ABCD");
        QTest::newRow("windows-1252 letters") << int(TSchedaLibro::Note) << QStringLiteral("Città – “è” € ’")
                                              << QByteArray("Citt\xE0 \x96 \x93\xE8\x94 \x80 \x92");
        QTest::newRow("note cut at 250 after 255 chars")
            << int(TSchedaLibro::Note) << QString(300, QLatin1Char('n')) << QByteArray(250, 'n');
    }
    void storing()
    {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QByteArray, stored);
        TSchedaLibro card;
        card.setText(field, typed);
        QCOMPARE(card.bytes(field), stored);
        QCOMPARE(int(static_cast<unsigned char>(card.data()[TSchedaLibro::offset(field)])), int(stored.size()));
        QCOMPARE(card.text(field), trimmedBack(typed, TSchedaLibro::capacity(field)));
    }

    void shorterValueKeepsOldTail()
    {
        TSchedaLibro card;
        card.setText(TSchedaLibro::Titolo, QStringLiteral("Il nome della rosa"));
        card.setText(TSchedaLibro::Titolo, QStringLiteral("Baudolino"));
        QCOMPARE(QByteArray(card.data() + 1, 18), QByteArray("Baudolinoella rosa"));
        QCOMPARE(card.text(TSchedaLibro::Titolo), QStringLiteral("Baudolino"));
    }

    void damagedLengthIsClamped()
    {
        TSchedaLibro card;
        card.setText(TSchedaLibro::Anno, QStringLiteral("1980"));
        card.setText(TSchedaLibro::Editore, QStringLiteral("Bompiani"));
        card.data()[TSchedaLibro::offset(TSchedaLibro::Anno)] = char(200); // capacity is 20
        QCOMPARE(card.bytes(TSchedaLibro::Anno).size(), 20);
        QVERIFY(!card.text(TSchedaLibro::Anno).contains(QStringLiteral("Bompiani")));
    }

    void missingFileIsCreatedEmpty()
    {
        QVERIFY(!QFile::exists(BookArchive::path()));
        BookArchive archive;
        QVERIFY(archive.open());
        QCOMPARE(archive.count(), 0);
        QVERIFY(archive.close());
        QVERIFY(QFile::exists(BookArchive::path()));
        QCOMPARE(QFileInfo(BookArchive::path()).size(), 0);
    }

    void tailIsNotACardAndAppendGoesAfterLastCard()
    {
        QByteArray bytes;
        for (int i = 1; i <= 3; ++i)
            bytes.append(cardTitled(QString::number(i)).data(), TSchedaLibro::RecordSize);
        bytes.append(QByteArray(100, 'z'));
        QVERIFY(writeFile(BookArchive::path(), bytes));

        BookArchive archive;
        QVERIFY(archive.open());
        QCOMPARE(archive.count(), 3);
        QCOMPARE(archive.append(cardTitled(QStringLiteral("4"))), 4);
        QVERIFY(archive.close());
        const QByteArray after = readFile(BookArchive::path());
        QCOMPARE(after.size(), 4 * TSchedaLibro::RecordSize);
        QCOMPARE(after.left(3 * TSchedaLibro::RecordSize), bytes.left(3 * TSchedaLibro::RecordSize));

        TSchedaLibro card;
        QVERIFY(archive.open());
        QVERIFY(archive.read(4, card));
        QCOMPARE(card.text(TSchedaLibro::Titolo), QStringLiteral("4"));
        QVERIFY(!archive.read(5, card));
    }

    void writeTouchesOnlyItsOwnBytes()
    {
        BookArchive archive;
        QVERIFY(archive.open());
        for (int i = 1; i <= 10; ++i)
            QCOMPARE(archive.append(cardTitled(QString::number(i))), i);
        QVERIFY(archive.close());
        const QByteArray before = readFile(BookArchive::path());

        QVERIFY(archive.open());
        TSchedaLibro card;
        QVERIFY(archive.read(3, card));
        card.setText(TSchedaLibro::Autore, QStringLiteral("Umberto Eco"));
        QVERIFY(archive.write(3, card));
        QVERIFY(archive.close());
        const QByteArray after = readFile(BookArchive::path());
        QCOMPARE(after.size(), before.size());
        const int from = 2 * TSchedaLibro::RecordSize, to = 3 * TSchedaLibro::RecordSize;
        QCOMPARE(after.left(from), before.left(from));
        QCOMPARE(after.mid(to), before.mid(to));
        QVERIFY(after.mid(from, TSchedaLibro::RecordSize) != before.mid(from, TSchedaLibro::RecordSize));
    }

    void scanVisitsEveryCardInOrder()
    {
        BookArchive archive;
        QVERIFY(archive.open());
        for (int i = 1; i <= 600; ++i)
            archive.append(cardTitled(QString::number(i)));
        QList<int> seen;
        bool titlesMatch = true;
        QVERIFY(archive.scan([&](int n, const char *record) -> bool {
            TSchedaLibro card;
            std::memcpy(card.data(), record, TSchedaLibro::RecordSize);
            titlesMatch = titlesMatch && card.text(TSchedaLibro::Titolo) == QString::number(n);
            seen.append(n);
            return true;
        }));
        QVERIFY(titlesMatch);
        QCOMPARE(seen.size(), 600);
        QCOMPARE(seen.last(), 600);
    }

    void scanAcrossReadBlocksAndStops()
    {
        // Cards for several read blocks, written in one go.
        constexpr int kCards = 4600;
        {
            QFile file(BookArchive::path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (int i = 1; i <= kCards; ++i)
                file.write(cardTitled(QString::number(i)).data(), TSchedaLibro::RecordSize);
        }
        auto titleOf = [](const char *record) {
            TSchedaLibro card;
            std::memcpy(card.data(), record, TSchedaLibro::RecordSize);
            return card.text(TSchedaLibro::Titolo).toInt();
        };
        BookArchive archive;
        QVERIFY(archive.openForReading());
        int seen = 0;
        bool inOrder = true;
        QVERIFY(archive.scan([&](int n, const char *record) {
            inOrder = inOrder && n == ++seen && titleOf(record) == n;
            return true;
        }));
        QVERIFY(inOrder);
        QCOMPARE(seen, kCards);

        // visit stops the scan where it says.
        seen = 0;
        QVERIFY(archive.scan([&](int n, const char *) { return (seen = n) < 2000; }));
        QCOMPARE(seen, 2000);

        // progress is told while a slow device keeps the cards waiting, and
        // can stop the scan then.
        ReadAhead::setPauseForTesting(3 * BookArchive::ProgressInterval);
        auto noPause = qScopeGuard([] { ReadAhead::setPauseForTesting(0); });
        seen = 0;
        int told = 0, total = 0;
        QVERIFY(archive.scan([&](int n, const char *) { return (seen = n) > 0; },
                             [&](int, int cards) {
                                 total = cards;
                                 return ++told < 3;
                             }));
        QCOMPARE(told, 3);
        QCOMPARE(total, kCards);
        QVERIFY(seen < kCards);
        ReadAhead::setPauseForTesting(0);

        QVERIFY(archive.close());
    }

    void existingFileThatCannotBeOpenedIsNotReplaced()
    {
        // A folder in the archive's place cannot be opened as a file.
        QVERIFY(QDir().mkpath(BookArchive::path()));
        BookArchive archive;
        QVERIFY(!archive.open());
        QVERIFY(QFileInfo(BookArchive::path()).isDir());
    }

    // A bulk append is all or nothing: a write that fails half way (the
    // file-size limit stands in for a full disk), a source that stops (a
    // cancel), fails to prepare or to sync leave the file byte for byte as
    // it was, the fragment after the last card included; a failure keeps
    // its cause.
    void bulkAppendIsAllOrNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("cause"); // in errorString() after a failure
        QTest::newRow("full disk") << "disk" << int(BookArchive::BulkResult::Failed) << "File too large";
        QTest::newRow("sync fails") << "sync" << int(BookArchive::BulkResult::Failed)
                                    << "Archivio_Libri.pro sul disco non è riuscita";
        QTest::newRow("cancel") << "stop" << int(BookArchive::BulkResult::Stopped) << "";
        QTest::newRow("prepare fails") << "prepare" << int(BookArchive::BulkResult::Failed)
                                       << "Archivio_Libri.pro prima dell'aggiunta non è riuscita";
        QTest::newRow("complete") << "" << int(BookArchive::BulkResult::Appended) << "";
    }
    void bulkAppendIsAllOrNothing()
    {
        QFETCH(QString, how);
        QFETCH(int, expected);
        QFETCH(QString, cause);
        {
            BookArchive archive;
            QVERIFY(archive.open());
            for (int i = 1; i <= 3; ++i)
                QVERIFY(archive.append(cardTitled(QString::number(i))) > 0);
            QVERIFY(archive.close());
        }
        QFile raw(BookArchive::path());
        QVERIFY(raw.open(QIODevice::Append));
        raw.write(QByteArray(100, 'x')); // a fragment left by an older crash
        raw.close();
        const QByteArray before = readFile(BookArchive::path());

        struct Source : BookArchive::CardSource
        {
            QString how;
            int made = 0;
            int known = -1;
            bool prepare(BookArchive &archive) override
            {
                known = archive.count();
                return how != QLatin1String("prepare");
            }
            int fill(char *out, int max) override
            {
                if (how == QLatin1String("stop") && made >= 600)
                    return -1;
                if (made >= 1000)
                    return 0;
                const int n = qMin(max, 1000 - made);
                for (int i = 0; i < n; ++i)
                    std::memcpy(out + qsizetype(i) * TSchedaLibro::RecordSize,
                                cardTitled(QStringLiteral("nuova %1").arg(++made)).data(), TSchedaLibro::RecordSize);
                return n;
            }
        } source;
        source.how = how;
        BookArchive archive;
        QVERIFY(archive.open());
        int appended = -1;
        BookArchive::BulkResult result;
        {
#ifdef Q_OS_WIN
            if (how == QLatin1String("disk"))
                QSKIP(FILE_SIZE_LIMIT_REASON);
#else
            std::unique_ptr<FileSizeLimit> limit;
            if (how == QLatin1String("disk"))
                limit = std::make_unique<FileSizeLimit>(rlim_t(before.size()) + 200 * TSchedaLibro::RecordSize);
#endif
            if (how == QLatin1String("sync"))
                FileSync::setHook([](QFileDevice &) { return false; });
            const auto unhook = qScopeGuard([] { FileSync::setHook({}); });
            result = archive.appendAll(source, &appended);
        }
        if (result == BookArchive::BulkResult::Failed)
            QVERIFY2(archive.errorString().contains(cause), qPrintable(archive.errorString()));
        QVERIFY(archive.close());
        QCOMPARE(int(result), expected);
        QCOMPARE(source.known, 3); // the source saw the archive as it was
        if (result != BookArchive::BulkResult::Appended) {
            QCOMPARE(appended, 0);
            QCOMPARE(readFile(BookArchive::path()), before);
            return;
        }
        // The new cards go after the last whole card, over the fragment.
        QCOMPARE(appended, 1000);
        const QByteArray after = readFile(BookArchive::path());
        QCOMPARE(after.size(), qsizetype(1003) * TSchedaLibro::RecordSize);
        QCOMPARE(after.left(3 * TSchedaLibro::RecordSize), before.left(3 * TSchedaLibro::RecordSize));
        BookArchive check;
        QVERIFY(check.open());
        TSchedaLibro card;
        QVERIFY(check.read(4, card));
        QCOMPARE(card.text(TSchedaLibro::Titolo), QStringLiteral("nuova 1"));
        QVERIFY(check.read(1003, card));
        QCOMPARE(card.text(TSchedaLibro::Titolo), QStringLiteral("nuova 1000"));
    }

private:
    static QString trimmedBack(const QString &typed, int capacity)
    {
        QString t = typed.trimmed();
        return t.left(capacity);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestBookArchive)
#include "tst_bookarchive.moc"
