// The compiled translation files. The first byte picks the mode. Read mode: the rest is a
// file; whatever messages it reads as are written to a file that QTranslator loads and that
// reads back to exactly those messages, null translations included. Build mode: the rest gives
// messages (keys without NUL, as lookups cannot hold one, translations of any UTF-16 units);
// the written file reads back to them, and QTranslator, loading it, answers every key's lookup
// with the translation of the first message it can use.
#include "FuzzCheck.h"

#include "i18n/QmFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QTranslator>

#include <algorithm>

namespace {

QString describe(const QList<QmMessage> &messages)
{
    QStringList parts;
    for (const QmMessage &m : messages) {
        parts.append(visible(QString::fromLatin1(m.context)) + u'|' +
                     visible(QString::fromLatin1(m.sourceText)) + u'|' +
                     visible(QString::fromLatin1(m.comment)) + u'|' + visible(m.translations));
    }
    return parts.join(u'\n');
}

// QStringList's comparison takes a null text for an empty one; a null translation makes
// lookups pass over that form, so it must survive as null.
bool same(const QList<QmMessage> &a, const QList<QmMessage> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QmMessage &x = a.at(i);
        const QmMessage &y = b.at(i);
        if (x.context != y.context || x.sourceText != y.sourceText || x.comment != y.comment ||
            x.translations != y.translations)
            return false;
        for (qsizetype j = 0; j < x.translations.size(); ++j) {
            if (x.translations.at(j).isNull() != y.translations.at(j).isNull())
                return false;
        }
    }
    return true;
}

// Writes the messages, checks that the file reads back to them and loads, and returns the
// translator that loaded it.
std::unique_ptr<QTranslator> writtenAndLoaded(const QList<QmMessage> &messages, QByteArray &file)
{
    file = QmFile::write(messages);
    const std::optional<QList<QmMessage>> back = QmFile::read(file);
    FUZZ_CHECK(back && same(*back, messages),
               describe(messages) + QStringLiteral("\n->\n") +
                   (back ? describe(*back) : QStringLiteral("nothing")));
    auto translator = std::make_unique<QTranslator>();
    FUZZ_CHECK(
        translator->load(reinterpret_cast<const uchar *>(file.constData()), int(file.size())),
        describe(messages));
    return translator;
}

// What a lookup should find: the first translation of the first message with the key that
// QTranslator can use, which is one with translations and none of them null (it gives up on a
// message at its first null form); failing that, the same without the disambiguation.
QString expectedLookup(const QList<QmMessage> &messages, const QmMessage &key)
{
    for (const QByteArray &comment : {key.comment, QByteArray()}) {
        for (const QmMessage &m : messages) {
            if (m.context == key.context && m.sourceText == key.sourceText &&
                m.comment == comment && !m.translations.isEmpty() &&
                std::none_of(m.translations.cbegin(), m.translations.cend(),
                             [](const QString &t) { return t.isNull(); }))
                return m.translations.first();
        }
    }
    return QString();
}

void readMode(const QByteArray &bytes)
{
    const std::optional<QList<QmMessage>> messages = QmFile::read(bytes);
    if (!messages)
        return;
    QByteArray file;
    writtenAndLoaded(*messages, file);
}

// A key text: often one of a few short ones, so that messages share keys and hashes.
QByteArray keyText(FuzzedDataProvider &provider)
{
    static const QByteArray Common[] = {"", "A", "Open", "\xc3\xa9"};
    if (provider.ConsumeBool())
        return Common[provider.ConsumeIntegralInRange(0, 3)];
    QByteArray text = QByteArray::fromStdString(provider.ConsumeRandomLengthString(24));
    return text.replace('\0', "");
}

QString translation(FuzzedDataProvider &provider)
{
    if (provider.ConsumeIntegralInRange(0, 7) == 0)
        return QString();
    const std::string units = provider.ConsumeRandomLengthString(40);
    QString text = QStringLiteral("");
    for (size_t i = 0; i + 1 < units.size(); i += 2)
        text.append(QChar(char16_t(quint8(units[i]) << 8 | quint8(units[i + 1]))));
    return text;
}

void buildMode(const QByteArray &bytes)
{
    FuzzedDataProvider provider(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                static_cast<size_t>(bytes.size()));
    QList<QmMessage> messages;
    const int count = provider.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i) {
        QmMessage message;
        message.context = keyText(provider);
        message.sourceText = keyText(provider);
        message.comment = keyText(provider);
        const int forms = provider.ConsumeIntegralInRange(0, 3);
        for (int j = 0; j < forms; ++j)
            message.translations.append(translation(provider));
        messages.append(message);
    }
    QByteArray file;
    const std::unique_ptr<QTranslator> translator = writtenAndLoaded(messages, file);
    for (const QmMessage &m : messages) {
        const QString found = translator->translate(m.context.constData(), m.sourceText.constData(),
                                                    m.comment.constData());
        const QString expected = expectedLookup(messages, m);
        FUZZ_CHECK(found == expected && found.isNull() == expected.isNull(),
                   describe(messages) + QStringLiteral("\nlooking up ") + describe({m}) +
                       QStringLiteral(" found ") + visible(found));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return runMode(data, size, readMode, buildMode);
}
