#pragma once

#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

// A file's whole content, for tests that compare or plant exact bytes; empty when unreadable.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

// Bytes that look random and are the same on every run. None is "|", so no text made of them
// carries a message id.
inline QByteArray randomBytes(qsizetype size)
{
    QRandomGenerator generator(8);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes) {
        do
            byte = char(generator.bounded(256));
        while (byte == '|');
    }
    return bytes;
}

// The lines of a text file such as a log, empty ones left out; none when it cannot be read.
inline QStringList linesOf(const QString &path)
{
    return QString::fromUtf8(readFile(path)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
