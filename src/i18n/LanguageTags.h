#pragma once

#include <QtGlobal>

// Every translation file describes its own language with these texts, so the language
// selector can show each language in its own words and a site's override file can rename it.
namespace LanguageTags {
inline constexpr char Context[] = "Language Preferences";
inline constexpr char LanguageName[] =
    QT_TRANSLATE_NOOP("Language Preferences", "<<Language Name>>");
inline constexpr char ChangeLanguage[] =
    QT_TRANSLATE_NOOP("Language Preferences", "Change Language");
inline constexpr char CloseLanguageOptions[] =
    QT_TRANSLATE_NOOP("Language Preferences", "Close Language Options");
} // namespace LanguageTags
