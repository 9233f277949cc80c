#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: a property check that stops the run (libFuzzer then keeps the
// input as a crash artefact) and a readable form of texts with control characters.

// The text in double quotes with every character outside printable ASCII as \u{XXXX}.
inline QString visible(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'\\')
            out += c;
        else
            out += QStringLiteral("\\u{%1}").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out + u'"';
}

inline QString visible(const QStringList &texts)
{
    QStringList parts;
    for (const QString &text : texts)
        parts.append(visible(text));
    return u'(' + parts.join(QStringLiteral(", ")) + u')';
}

[[noreturn]] inline void fuzzFailure(const char *file, int line, const char *condition,
                                     const QString &detail)
{
    std::fprintf(stderr, "%s:%d: property violated: %s\n%s\n", file, line, condition,
                 qUtf8Printable(detail));
    std::fflush(stderr);
    std::abort();
}

// The detail is only built when the check fails.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fuzzFailure(__FILE__, __LINE__, #condition, (detail));                                 \
    } while (false)

// Runs one of a target's two modes: the first byte of the input picks it (even: the first,
// odd: the second) and the rest is that mode's input, so one corpus serves both.
template <typename EvenMode, typename OddMode>
int runMode(const uint8_t *data, size_t size, EvenMode even, OddMode odd)
{
    if (size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data) + 1,
                          static_cast<qsizetype>(size - 1));
    if (data[0] % 2 == 0)
        even(rest);
    else
        odd(rest);
    return 0;
}
