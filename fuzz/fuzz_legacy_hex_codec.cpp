// The older scrambling. The first byte picks the mode. Decode mode: the rest is an encoded
// text (Latin-1, as the codec writes it); a text over the length limit decodes to the null
// text, and what a text decodes to encodes and decodes back to itself when it keeps to the
// characters the scheme carries. Encode mode: the rest is a plain text (UTF-8); a text over
// the limit encodes to the null text, the encoding never holds a bare "|" (the protocol's
// field separator), and a text made of the characters the scheme carries decodes back to
// itself.
#include "FuzzCheck.h"

#include "settings/LegacyHexCodec.h"

using namespace UtilsLib;

namespace {

// The characters whose UTF-8 form is one byte that survives the doubling.
bool carried(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 30 || c.unicode() > 127)
            return false;
    }
    return true;
}

void checkRoundTrip(const QString &plain, const QString &origin)
{
    const LegacyHexCodec codec;
    const QString encoded = codec.encode(plain);
    const QString decoded = codec.decode(encoded);
    FUZZ_CHECK(decoded == plain, visible(origin) + QStringLiteral(": ") + visible(plain) +
                                     QStringLiteral(" -> ") + visible(decoded));
}

void decodeMode(const QString &encoded)
{
    const QString plain = LegacyHexCodec().decode(encoded);
    // The limit counts the characters the escapes stand for.
    if (QString(encoded).replace(QLatin1String("#^#"), QLatin1String("|")).size() >
        LegacyHexCodec::MaximumLength) {
        FUZZ_CHECK(plain.isNull(), visible(encoded));
        return;
    }
    if (carried(plain))
        checkRoundTrip(plain, encoded);
}

void encodeMode(const QString &plain)
{
    const QString encoded = LegacyHexCodec().encode(plain);
    if (plain.size() > LegacyHexCodec::MaximumLength) {
        FUZZ_CHECK(encoded.isNull(), visible(plain));
        return;
    }
    FUZZ_CHECK(!QString(encoded).remove(QLatin1String("#^#")).contains(u'|'), visible(plain));
    if (carried(plain))
        checkRoundTrip(plain, plain);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return runMode(
        data, size, [](const QByteArray &bytes) { decodeMode(QString::fromLatin1(bytes)); },
        [](const QByteArray &bytes) { encodeMode(QString::fromUtf8(bytes)); });
}
