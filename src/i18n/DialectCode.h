#pragma once

#include <QString>

// Dialect codes ("en_us", "FR_CA") come from the command line, the Print Service and the user,
// and end up in file paths and addresses. Only plain codes are ever used there.
class DialectCode
{
public:
    // Letters and digits with at most one "_" between them, a few characters long.
    static bool isPlain(const QString &code);
    // The existing file "<folder>/<code><suffix>" with the code as given, else lower-cased
    // (files are named in lower case while some callers give codes in upper case); empty when
    // the code is not plain or neither file exists.
    static QString existingFile(const QString &folder, const QString &code, const QString &suffix);
};
