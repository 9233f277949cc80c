// The scrambling of passwords, PINs and encrypted preference entries. The first byte picks
// the mode. Decode mode: the rest is an encoded text (UTF-8); whatever it decodes to
// encodes and decodes back to itself, and a text of hexadecimal pairs whose bytes are valid
// UTF-8 is the encoding of what it decodes to (in lower case). Encode mode: the rest is a
// plain text, as UTF-8 or as raw UTF-16; the encoding is two lower-case hexadecimal digits per
// UTF-8 byte and decodes to the same text whenever the text is well-formed UTF-16.
#include "FuzzCheck.h"

#include "settings/HexCodec.h"

#include <cstring>

using namespace UtilsLib;

namespace {

bool isHexPairs(const QString &text)
{
    if (text.size() % 2 != 0)
        return false;
    for (const QChar c : text) {
        if (!QStringView(u"0123456789abcdefABCDEF").contains(c))
            return false;
    }
    return true;
}

void decodeMode(const QString &encoded)
{
    const QString plain = hexDecode(encoded);
    FUZZ_CHECK(HexCodec().decode(encoded) == plain, visible(encoded));
    FUZZ_CHECK(plain.isEmpty() || !encoded.isEmpty(), visible(encoded));
    const QString again = hexEncode(plain);
    FUZZ_CHECK(hexDecode(again) == plain,
               visible(encoded) + QStringLiteral(" -> ") + visible(plain));
    // A replacement character stands for bytes that were no UTF-8; they cannot come back.
    if (isHexPairs(encoded) && !plain.contains(QChar::ReplacementCharacter))
        FUZZ_CHECK(again == encoded.toLower(),
                   visible(encoded) + QStringLiteral(" -> ") + visible(again));
}

void encodeMode(const QString &plain)
{
    const QString encoded = hexEncode(plain);
    FUZZ_CHECK(HexCodec().encode(plain) == encoded, visible(plain));
    FUZZ_CHECK(encoded.size() == 2 * plain.toUtf8().size(), visible(plain));
    FUZZ_CHECK(encoded.isEmpty() == plain.isEmpty(), visible(plain));
    for (const QChar c : encoded)
        FUZZ_CHECK(QStringView(u"0123456789abcdef").contains(c), visible(encoded));
    if (QStringView(plain).isValidUtf16())
        FUZZ_CHECK(hexDecode(encoded) == plain,
                   visible(plain) + QStringLiteral(" -> ") + visible(encoded));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const char *rest = reinterpret_cast<const char *>(data) + 1;
    const auto length = static_cast<qsizetype>(size - 1);
    switch (data[0] % 3) {
    case 0:
        decodeMode(QString::fromUtf8(rest, length));
        break;
    case 1:
        encodeMode(QString::fromUtf8(rest, length));
        break;
    default: {
        QString utf16(length / 2, Qt::Uninitialized);
        std::memcpy(utf16.data(), rest, static_cast<size_t>(utf16.size()) * sizeof(QChar));
        encodeMode(utf16);
        break;
    }
    }
    return 0;
}
