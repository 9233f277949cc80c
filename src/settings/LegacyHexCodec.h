#pragma once

#include "settings/TextCodec.h"

namespace UtilsLib {

// The older scrambling, kept for values written by earlier products: every UTF-8 byte b
// becomes the Latin-1 character 2b - 60, with "|" (the protocol's field separator) written as
// "#^#". Only bytes 30 to 157 survive the doubling, so only characters 30 to 127 (one such
// byte in UTF-8) come back; others come back garbled. Texts over 1024 characters encode to
// the null text, and so decodes an encoded text that stands for more than 1024 characters.
class LegacyHexCodec : public TextCodec
{
public:
    static constexpr qsizetype MaximumLength = 1024;

    QString encode(const QString &plain) const override;
    QString decode(const QString &encoded) const override;
};

} // namespace UtilsLib
