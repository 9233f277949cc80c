#pragma once

#include <QString>

namespace UtilsLib {

// One stored preference. The value is always plain in memory; `encrypted` only decides how
// it is written to the file.
struct PreferenceEntry
{
    QString name; // the key as last given, letter case included
    QString value;
    QString units; // "milliseconds" ... "days", or empty
    bool encrypted = false;
};

} // namespace UtilsLib
