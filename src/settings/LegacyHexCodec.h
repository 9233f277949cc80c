#pragma once

#include "settings/TextCodec.h"

namespace UtilsLib {

// The older scrambling, kept for values written by earlier products: every UTF-8 byte b
// becomes the Latin-1 character 2b - 60, with "|" (the protocol's field separator) written as
// "#^#". Only characters 31 to 157 survive a round trip; texts over 1024 characters give the
// null text in both directions.
class LegacyHexCodec : public TextCodec
{
public:
    static constexpr qsizetype MaximumLength = 1024;

    QString encode(const QString &plain) const override;
    QString decode(const QString &encoded) const override;
};

} // namespace UtilsLib
