// The preferences file reader. The first byte picks the mode. Read mode: the rest is a file;
// whatever the reader keeps of it is saved to a file that reads back without error to the
// same entries and saves to the same bytes. Build mode: the rest gives entries (names,
// values, units, the encrypted flag) set through the store's interface; the saved file
// reads back without error, to the same entries where names, values and units hold only
// characters a file can carry (the others are left out on saving), and is then stable.
#include "FuzzCheck.h"

#include "settings/XmlPreferences.h"
#include "settings/XmlPreferencesFileParser.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QMap>

using namespace UtilsLib;

namespace {

const QString LineSeparator = QStringLiteral("\r\n");

QByteArray savedFile(const XmlPreferences &store)
{
    return store.toXml(LineSeparator).toUtf8();
}

bool isXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool fileCanCarry(const QString &text)
{
    for (const char32_t c : QStringView(text).toUcs4()) {
        if (!isXmlCharacter(c))
            return false;
    }
    return QStringView(text).isValidUtf16();
}

// Reads a saved file into a new store; a saved file must always read without error.
void readSaved(const QByteArray &file, XmlPreferences &store)
{
    FUZZ_CHECK(XmlPreferencesFileParser(store).parse(file), visible(QString::fromUtf8(file)));
}

void sameEntries(const XmlPreferences &expected, const XmlPreferences &actual,
                 const QByteArray &file)
{
    const QMap<QString, QString> entries = expected.entryMap();
    FUZZ_CHECK(actual.entryMap() == entries, visible(QString::fromUtf8(file)));
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it)
        FUZZ_CHECK(actual.getUnits(it.key()) == expected.getUnits(it.key()),
                   visible(QString::fromUtf8(file)));
}

void readMode(const QByteArray &document)
{
    XmlPreferences read;
    XmlPreferencesFileParser(read).parse(document);
    const QByteArray file = savedFile(read);
    XmlPreferences reread;
    readSaved(file, reread);
    sameEntries(read, reread, file);
    FUZZ_CHECK(savedFile(reread) == file, visible(QString::fromUtf8(file)) +
                                              QStringLiteral(" -> ") +
                                              visible(QString::fromUtf8(savedFile(reread))));
}

void buildMode(const QByteArray &bytes)
{
    FuzzedDataProvider provider(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                static_cast<size_t>(bytes.size()));
    static const QStringList KnownUnits{QString(), QStringLiteral("milliseconds"),
                                        QStringLiteral("seconds"), QStringLiteral("days")};
    XmlPreferences built;
    bool carried = true;
    const int count = provider.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < count; ++i) {
        PreferenceEntry entry;
        entry.name = QString::fromStdString(provider.ConsumeRandomLengthString(40));
        entry.value = QString::fromStdString(provider.ConsumeRandomLengthString(80));
        entry.encrypted = provider.ConsumeBool();
        entry.units = provider.ConsumeBool()
                          ? QString::fromStdString(provider.ConsumeRandomLengthString(12))
                          : KnownUnits.at(provider.ConsumeIntegralInRange(0, 3));
        carried = carried && fileCanCarry(entry.name) && fileCanCarry(entry.units) &&
                  (entry.encrypted || fileCanCarry(entry.value));
        built.setEntry(entry);
    }
    const QByteArray file = savedFile(built);
    XmlPreferences reread;
    readSaved(file, reread);
    if (carried)
        sameEntries(built, reread, file);
    const QByteArray again = savedFile(reread);
    XmlPreferences third;
    readSaved(again, third);
    FUZZ_CHECK(savedFile(third) == again, visible(QString::fromUtf8(again)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return runMode(data, size, readMode, buildMode);
}
