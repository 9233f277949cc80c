#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

#include <optional>

class QString;
class QTranslator;

// One message of a compiled translation file.
struct QmMessage
{
    QByteArray context;
    QByteArray sourceText;
    // The disambiguation text; most messages have none.
    QByteArray comment;
    // One text per plural form; a plain message has exactly one.
    QStringList translations;
};

// Reads and writes compiled translation files (".qm"). QTranslator only looks texts up, while
// the client also lists a file's messages and writes the override files it keeps.
class QmFile
{
public:
    // The messages in file order, or nothing when the bytes are not a translation file or are
    // damaged. The bytes come from the network: nothing outside them is ever read.
    static std::optional<QList<QmMessage>> read(QByteArrayView bytes);
    // A file that QTranslator loads and lookups find every message in; an empty list gives a
    // valid file without messages.
    static QByteArray write(const QList<QmMessage> &messages);

    // A whole file from disk, or nothing when it cannot be read or is larger than any
    // translation file could be.
    static std::optional<QByteArray> readFile(const QString &path);
    // Loads the bytes into the translator. It reads them in place: they must stay as they are
    // for as long as the translator is loaded.
    static bool loadInto(QTranslator &translator, const QByteArray &bytes);
};
