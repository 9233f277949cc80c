#include "settings/LegacyHexCodec.h"

namespace UtilsLib {

namespace {

const QLatin1String PipeEscape("#^#");
constexpr quint8 Pipe = '|';

} // namespace

QString LegacyHexCodec::encode(const QString &plain) const
{
    if (plain.size() > MaximumLength)
        return QString();
    const QByteArray bytes = plain.toUtf8();
    QByteArray encoded;
    encoded.reserve(bytes.size());
    for (const char c : bytes) {
        const quint8 t = static_cast<quint8>(2 * static_cast<quint8>(c) - 60);
        if (t == Pipe)
            encoded.append(PipeEscape.data(), PipeEscape.size());
        else
            encoded.append(static_cast<char>(t));
    }
    return QString::fromLatin1(encoded);
}

QString LegacyHexCodec::decode(const QString &encoded) const
{
    // The limit counts the characters the escapes stand for: encode writes a backslash as
    // three characters, and everything it writes must decode again.
    if (encoded.size() > PipeEscape.size() * MaximumLength)
        return QString();
    QString text = encoded;
    text.replace(PipeEscape, QStringLiteral("|"));
    if (text.size() > MaximumLength)
        return QString();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        const int code = c.unicode() <= 0xFF ? c.unicode() : 0;
        bytes.append(static_cast<char>((code + 60) / 2));
    }
    return QString::fromUtf8(bytes);
}

} // namespace UtilsLib
