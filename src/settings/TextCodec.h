#pragma once

#include <QString>

namespace UtilsLib {

// A reversible, keyless text encoding that keeps values out of plain sight in files and on
// the wire. It is obfuscation, never protection against anyone who knows the scheme.
class TextCodec
{
public:
    virtual ~TextCodec() = default;

    virtual QString encode(const QString &plain) const = 0;
    virtual QString decode(const QString &encoded) const = 0;
};

} // namespace UtilsLib
