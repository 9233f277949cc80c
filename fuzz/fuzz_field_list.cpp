// The escaped list of the registration text. The first byte picks the mode. Decode mode: the
// rest is a text; it decodes exactly when every backslash escapes a backslash or a colon,
// and then encoding the list gives the text back. Encode mode: the rest is a list (NUL
// bytes separate the elements); its encoding decodes to the same list (the list holding one
// empty text encodes to the empty text, which is the empty list).
#include "FuzzCheck.h"

#include "protocol/FieldList.h"

using namespace Brindlecore::Core;

namespace {

bool wellEscaped(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'\\')
            continue;
        if (i + 1 == text.size() || (text.at(i + 1) != u'\\' && text.at(i + 1) != u':'))
            return false;
        ++i;
    }
    return true;
}

qsizetype unescapedColons(const QString &text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\\')
            ++i;
        else if (text.at(i) == u':')
            ++count;
    }
    return count;
}

void decodeMode(const QString &text)
{
    QStringList fields;
    try {
        fields = decodeFieldList(text);
    } catch (const MessageFormatException &) {
        FUZZ_CHECK(!wellEscaped(text), visible(text));
        return;
    }
    FUZZ_CHECK(wellEscaped(text), visible(text));
    FUZZ_CHECK(encodeFieldList(fields) == text,
               visible(text) + QStringLiteral(" -> ") + visible(fields));
    const qsizetype expected = text.isEmpty() ? 0 : unescapedColons(text) + 1;
    FUZZ_CHECK(fields.size() == expected, visible(text) + QStringLiteral(" -> ") + visible(fields));
}

void encodeMode(const QStringList &fields)
{
    const QString text = encodeFieldList(fields);
    QStringList decoded;
    try {
        decoded = decodeFieldList(text);
    } catch (const MessageFormatException &) {
        FUZZ_CHECK(false, visible(fields) + QStringLiteral(" -> ") + visible(text));
    }
    const QStringList expected = fields == QStringList{QString()} ? QStringList() : fields;
    FUZZ_CHECK(decoded == expected, visible(fields) + QStringLiteral(" -> ") + visible(decoded));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return runMode(
        data, size, [](const QByteArray &bytes) { decodeMode(QString::fromUtf8(bytes)); },
        [](const QByteArray &bytes) {
            QStringList fields;
            for (const QByteArray &piece : bytes.split('\0'))
                fields.append(QString::fromUtf8(piece));
            encodeMode(fields);
        });
}
