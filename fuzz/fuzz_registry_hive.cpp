// The registry's hive files. The first byte picks the mode. Read mode: the rest is a hive
// file. What the reader keeps of it is written out in a form that reads back to the same
// hive; and the registry, reading the same file, finds the values the file names (the
// sections and "name=" lines of the input give the look-ups) within the byte limits it
// promises. Build mode: the rest gives keys, value names and data set through the hive's
// interface; the written file reads back to the same values, whatever characters they hold.
#include "FuzzCheck.h"

#include "settings/Registry.h"
#include "settings/RegistryHive.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace UtilsLib;

namespace {

struct Lookup
{
    QString path;
    QString name;
};

std::unique_ptr<QTemporaryDir> registryFolder;

QString describe(const QByteArray &file)
{
    return visible(QString::fromUtf8(file));
}

// The look-ups a reader of the file would try: every "name=" line under the section above it.
QList<Lookup> lookupsOf(const QString &text)
{
    QList<Lookup> lookups;
    QString section;
    for (const QString &line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            section = trimmed.mid(1, trimmed.size() - 2);
            lookups.append(Lookup{section, QStringLiteral("InstallLocation")});
        } else if (trimmed.contains(u'=')) {
            lookups.append(Lookup{section, trimmed.left(trimmed.indexOf(u'=')).trimmed()});
        }
        if (lookups.size() >= 8)
            break;
    }
    return lookups;
}

void checkRegistryReads(const RegistryHive &hive, const QByteArray &file, const Lookup &lookup)
{
    Registry registry;
    FUZZ_CHECK(registry.connectRoot(RegistryRoot::LocalMachine), QString());
    const RegistryHive::Value *value =
        hive.findValue(RegistryHive::normalisedPath(lookup.path), lookup.name);
    QVariant previous;
    for (const int maxBytes : {0, 4, 5, 64, 1 << 20}) {
        const QVariant read = registry.readValue(lookup.path, lookup.name, maxBytes);
        const auto where = [&] {
            return visible(QStringList{lookup.path, lookup.name}) +
                   QStringLiteral(" at %1 bytes in ").arg(maxBytes) + describe(file);
        };
        if (!value) {
            FUZZ_CHECK(!read.isValid(), where());
            continue;
        }
        // A value that fits a limit fits every larger one, and reads the same.
        if (previous.isValid())
            FUZZ_CHECK(read == previous, where());
        if (read.typeId() == QMetaType::QString)
            FUZZ_CHECK(read.toString().toUtf8().size() + 1 <= maxBytes, where());
        else if (read.isValid())
            FUZZ_CHECK(read.typeId() == QMetaType::UInt && maxBytes >= 4 &&
                           value->data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive),
                       where());
        previous = read;
    }
    // Text always fits the largest limit; only a malformed number cannot be read.
    if (value && !value->data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive))
        FUZZ_CHECK(previous.isValid(), describe(file));
}

void readMode(const QByteArray &file)
{
    RegistryHive hive;
    hive.parse(file);
    const QByteArray written = hive.serialised();
    RegistryHive reread;
    reread.parse(written);
    FUZZ_CHECK(reread.serialised() == written, describe(file) + QStringLiteral(" -> ") +
                                                   describe(written) + QStringLiteral(" -> ") +
                                                   describe(reread.serialised()));

    QFile hiveFile(Registry::hiveFilePath(RegistryRoot::LocalMachine));
    FUZZ_CHECK(hiveFile.open(QIODevice::WriteOnly | QIODevice::Truncate), hiveFile.fileName());
    hiveFile.write(file);
    hiveFile.close();
    for (const Lookup &lookup : lookupsOf(QString::fromUtf8(file)))
        checkRegistryReads(hive, file, lookup);
}

void buildMode(const QByteArray &bytes)
{
    FuzzedDataProvider provider(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                static_cast<size_t>(bytes.size()));
    RegistryHive built;
    QList<Lookup> written;
    const int count = provider.ConsumeIntegralInRange(0, 8);
    QString path = QStringLiteral("SOFTWARE/Brindlecore");
    for (int i = 0; i < count; ++i) {
        if (provider.ConsumeIntegralInRange(0, 3) == 0) {
            // The registry refuses key names with line breaks; the hive never sees them.
            const QString candidate = RegistryHive::normalisedPath(
                QString::fromStdString(provider.ConsumeRandomLengthString(30)));
            if (!candidate.isEmpty() && !candidate.contains(u'\n') && !candidate.contains(u'\r'))
                path = candidate;
        }
        const QString name = QString::fromStdString(provider.ConsumeRandomLengthString(30));
        const QString data = QString::fromStdString(provider.ConsumeRandomLengthString(60));
        built.setValue(path, name, data);
        written.append(Lookup{path, name});
    }
    const QByteArray file = built.serialised();
    RegistryHive reread;
    reread.parse(file);
    for (const Lookup &lookup : std::as_const(written)) {
        const RegistryHive::Value *expected = built.findValue(lookup.path, lookup.name);
        const RegistryHive::Value *actual = reread.findValue(lookup.path, lookup.name);
        const auto where = [&] {
            return visible(QStringList{lookup.path, lookup.name}) + QStringLiteral(" in ") +
                   describe(file);
        };
        FUZZ_CHECK(expected && actual, where());
        FUZZ_CHECK(actual->name == expected->name && actual->data == expected->data,
                   where() + QStringLiteral(": ") +
                       visible(QStringList{actual->name, actual->data}));
    }
    FUZZ_CHECK(reread.serialised() == file,
               describe(file) + QStringLiteral(" -> ") + describe(reread.serialised()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    registryFolder = std::make_unique<QTemporaryDir>();
    if (!registryFolder->isValid())
        std::abort();
    qputenv("ONDTPC_REGISTRY_DIR", registryFolder->path().toUtf8());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return runMode(data, size, readMode, buildMode);
}
