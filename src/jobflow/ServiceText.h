#pragma once

#include <QString>

// Texts of the Print Service inside markup the client writes: they must show as the characters
// they are, never as markup of their own.
namespace ServiceText {

// The text cut to maxLength characters, the last of them "…", never inside a character: a
// dialog lays out and draws all of a text it shows, and no Print Service means one of megabytes.
QString shortened(const QString &text, qsizetype maxLength);
// The text escaped for rich text, its line ends as line breaks.
QString escaped(const QString &text);
// Marks the client's markup as rich text whatever its first line holds, so that a label shows
// an escaped text as what it stands for.
QString rich(const QString &html);

// A balance or amount of the Print Service as plain text. The one piece of markup it writes in
// them, a currency sign as a character reference in "<html>...</html>" (as in
// "<html>&#36;</html>0.00"), becomes that sign; any other markup stays the characters sent.
// An amount longer than 40 characters, which no Print Service means, is cut to 40 with "…".
QString plainAmount(const QString &amount);

} // namespace ServiceText
