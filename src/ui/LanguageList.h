#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

// One supported language as the selector shows it: its name written in that language and
// its "close language options" text.
using LanguageEntry = QPair<QString, QString>;
// In the order of the supported dialects.
using LanguageList = QList<LanguageEntry>;
// Language code -> language name, ordered by code.
using LanguageMap = QMap<QString, QString>;
