#include "settings/HexCodec.h"

#include <QStringDecoder>

namespace UtilsLib {

namespace {

// Subtracting (and adding back) 0x3C modulo 256 is part of the stored format.
constexpr quint8 Offset = 0x3C;

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

QString hexEncode(const QString &plain)
{
    static const char Digits[] = "0123456789abcdef";
    const QByteArray bytes = plain.toUtf8();
    QString encoded;
    if (bytes.isEmpty())
        return encoded;
    encoded.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const quint8 b = static_cast<quint8>(c);
        const quint8 rotated = static_cast<quint8>((b << 1) | (b >> 7));
        const quint8 v = static_cast<quint8>(rotated - Offset);
        encoded += QLatin1Char(Digits[v >> 4]);
        encoded += QLatin1Char(Digits[v & 0x0F]);
    }
    return encoded;
}

QString hexDecode(const QString &encoded)
{
    if (encoded.isEmpty())
        return QString();
    QByteArray bytes;
    bytes.reserve(encoded.size() / 2);
    for (qsizetype i = 0; i + 1 < encoded.size(); i += 2) {
        const int high = hexDigit(encoded.at(i));
        const int low = hexDigit(encoded.at(i + 1));
        const quint8 v = (high < 0 || low < 0) ? 0 : static_cast<quint8>(high * 16 + low);
        const quint8 b = static_cast<quint8>(v + Offset);
        bytes.append(static_cast<char>(static_cast<quint8>((b >> 1) | (b << 7))));
    }
    // A leading byte-order mark is part of the text (fromUtf8 would drop it), so that decode
    // inverts encode for every text.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                       QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QString HexCodec::encode(const QString &plain) const
{
    return hexEncode(plain);
}

QString HexCodec::decode(const QString &encoded) const
{
    return hexDecode(encoded);
}

} // namespace UtilsLib
