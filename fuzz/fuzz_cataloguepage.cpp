// The catalogue page record and the catalogue file, fed any bytes.
//
// The input's first 5000 bytes are a page as a damaged or foreign file may
// hold it; the rest, read as UTF-16, is text typed into one field of one
// box. The whole input is also a catalogue file.

#include "fuzzsupport.h"

#include "catalogues/cataloguefile.h"
#include "catalogues/cataloguepage.h"
#include "core/cp1252.h"
#include "core/texttrim.h"

#include <algorithm>

namespace {

bool onlyFieldChanged(const TPaginaCatalogo &before, const TPaginaCatalogo &after, int box, int field)
{
    const int begin = TPaginaCatalogo::offset(box, field);
    const int end = begin + 1 + TRiquadro::capacity(field);
    return std::equal(before.data(), before.data() + begin, after.data()) &&
           std::equal(before.data() + end, before.data() + TPaginaCatalogo::RecordSize, after.data() + end);
}

/// A saved field holds its text and zeros after it, up to its capacity.
bool zeroAfterText(const TPaginaCatalogo &page, int box, int field)
{
    const char *at = page.data() + TPaginaCatalogo::offset(box, field);
    const int length = static_cast<unsigned char>(at[0]);
    return length <= TRiquadro::capacity(field) &&
           std::all_of(at + 1 + length, at + 1 + TRiquadro::capacity(field), [](char c) { return c == 0; });
}

bool encodable(const QString &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return !c.isSurrogate() && Cp1252::byteFor(c.unicode()) >= 0; });
}

void recordRoundTrip(const char *data, size_t size)
{
    TPaginaCatalogo page;
    std::memcpy(page.data(), data, std::min<size_t>(size, TPaginaCatalogo::RecordSize));

    for (int box = 0; box < TPaginaCatalogo::BoxCount; ++box) {
        for (int field = 0; field < TRiquadro::FieldCount; ++field) {
            const QString shown = page.text(box, field);
            FUZZ_CHECK(page.bytes(box, field).size() <= TRiquadro::capacity(field));
            const TPaginaCatalogo before = page;
            page.setText(box, field, shown);
            FUZZ_CHECK(page.text(box, field) == shown);
            FUZZ_CHECK(zeroAfterText(page, box, field));
            FUZZ_CHECK(onlyFieldChanged(before, page, box, field));
        }
    }

    if (size <= TPaginaCatalogo::RecordSize + 1)
        return;
    const int box = static_cast<unsigned char>(data[TPaginaCatalogo::RecordSize]) % TPaginaCatalogo::BoxCount;
    const int field = static_cast<unsigned char>(data[TPaginaCatalogo::RecordSize + 1]) % TRiquadro::FieldCount;
    const QString typed =
        FuzzSupport::utf16Text(data + TPaginaCatalogo::RecordSize + 2, size - TPaginaCatalogo::RecordSize - 2);
    const TPaginaCatalogo before = page;
    page.setText(box, field, typed);
    FUZZ_CHECK(zeroAfterText(page, box, field));
    FUZZ_CHECK(onlyFieldChanged(before, page, box, field));
    const QString stored = page.text(box, field);
    const QString trimmed = trimText(typed);
    if (encodable(trimmed))
        FUZZ_CHECK(stored == trimText(trimmed.left(TRiquadro::capacity(field))));
    page.setText(box, field, stored);
    FUZZ_CHECK(page.text(box, field) == stored);
}

void catalogueFile(const char *data, size_t size)
{
    const QByteArray bytes(data, qsizetype(size));
    const QString path = FuzzSupport::writeScratchFile(QStringLiteral("Prova.cat"), bytes);
    CatalogueFile file(path);
    FUZZ_CHECK(file.open());
    const int count = file.count();
    FUZZ_CHECK(count == int(size / TPaginaCatalogo::RecordSize));
    TPaginaCatalogo page;
    for (int n = 1; n <= count; ++n) {
        FUZZ_CHECK(file.read(n, page));
        FUZZ_CHECK(std::equal(page.data(), page.data() + TPaginaCatalogo::RecordSize,
                              data + size_t(n - 1) * TPaginaCatalogo::RecordSize));
    }
    FUZZ_CHECK(!file.read(0, page));
    FUZZ_CHECK(!file.read(count + 1, page));

    // Rewriting the first page as read changes no byte; a new page goes
    // after the last whole page, over any fragment.
    if (count > 0) {
        FUZZ_CHECK(file.read(1, page));
        FUZZ_CHECK(file.write(1, page));
    }
    TPaginaCatalogo fresh;
    fresh.setText(0, TRiquadro::Nome, QStringLiteral("Nuova pagina"));
    FUZZ_CHECK(file.append(fresh) == count + 1);
    FUZZ_CHECK(file.close());
    QFile written(path);
    FUZZ_CHECK(written.open(QIODevice::ReadOnly));
    const QByteArray after = written.readAll();
    const qsizetype kept = qsizetype(count) * TPaginaCatalogo::RecordSize;
    FUZZ_CHECK(after.size() == kept + TPaginaCatalogo::RecordSize);
    FUZZ_CHECK(after.left(kept) == bytes.left(kept));
    FUZZ_CHECK(std::equal(fresh.data(), fresh.data() + TPaginaCatalogo::RecordSize, after.constData() + kept));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto *bytes = reinterpret_cast<const char *>(data);
    recordRoundTrip(bytes, size);
    catalogueFile(bytes, size);
    return 0;
}
