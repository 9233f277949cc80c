#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace UtilsLib {

// One root key's keys and values, kept in an INI-like text file that is read afresh for
// every look-up and replaced as a whole (temporary file and rename) under a lock file for
// every change, so that several processes can share it. Key paths and value names are
// compared without regard to case; "\" and "/" both separate key names.
//
// File format (UTF-8, one item a line):
//   ; comment            (also "#"; blank lines are ignored too)
//   [SOFTWARE/Vendor/Product]
//   Name=sz:text         a string
//   Count=dword:0000002a a 32-bit number, eight hexadecimal digits
// In names and data "\\" is a backslash, "\n", "\r" and "\t" are line feed, carriage return
// and tab, "\s" a blank, and a backslash before any other character stands for that
// character ("\=" in a name, "\#" or "\" before white space at the start of a name). Blanks
// around the "=" are ignored.
class RegistryHive
{
public:
    struct Value
    {
        QString name;
        QString data; // typed text: "sz:..." or "dword:..."
    };
    struct Key
    {
        QString path; // normalised, as first written
        QList<Value> values;
    };
    enum class Change { Failed, Unchanged, Changed };

    // Larger hive files are not read: every operation on them fails.
    static constexpr qint64 MaximumFileSize = 16 * 1024 * 1024;
    // How long a writer waits for another process's change to finish.
    static constexpr int LockTimeoutMs = 5000;

    explicit RegistryHive(const QString &filePath = QString());

    QString filePath() const { return m_filePath; }

    // Replaces the keys by the file's current content; a missing file is an empty hive.
    bool read();
    // Takes the lock file, reads the file, applies `change` and writes the result back when
    // it reports Changed. False when the lock, the read, the change or the write fails.
    bool update(const std::function<Change(RegistryHive &)> &change);

    // "a\\b//c/" → "a/b/c"; the root key is the empty path.
    static QString normalisedPath(const QString &keyPath);
    // Paths must be normalised. The root key always exists.
    bool hasKey(const QString &path) const;
    bool hasSubkeys(const QString &path) const;
    const Value *findValue(const QString &path, const QString &name) const;
    void addKey(const QString &path);
    void removeKey(const QString &path);
    void removeTree(const QString &path);
    void setValue(const QString &path, const QString &name, const QString &data);
    bool removeValue(const QString &path, const QString &name);

    QByteArray serialised() const;
    void parse(const QByteArray &content);

private:
    Key *findKey(const QString &path);
    const Key *findKey(const QString &path) const;
    // Keeps the parent of a removed key, which an explicit section may have implied alone.
    void keepParentOf(const QString &path);

    QString m_filePath;
    QList<Key> m_keys;
};

} // namespace UtilsLib
