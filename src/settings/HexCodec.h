#pragma once

#include "settings/TextCodec.h"

namespace UtilsLib {

// Each UTF-8 byte rotated left by one bit, less 0x3C, as two lower-case hexadecimal digits.
// An empty text encodes to the null text.
QString hexEncode(const QString &plain);
// The inverse of hexEncode. A final odd character is ignored and a pair that is not two
// hexadecimal digits reads as 0; bytes that are no valid UTF-8 decode to U+FFFD.
QString hexDecode(const QString &encoded);

// The scrambling of the staff password, PINs and encrypted preference entries; the class
// form of hexEncode/hexDecode for callers that take any TextCodec.
class HexCodec : public TextCodec
{
public:
    QString encode(const QString &plain) const override;
    QString decode(const QString &encoded) const override;
};

} // namespace UtilsLib
