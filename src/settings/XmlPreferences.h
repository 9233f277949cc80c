#pragma once

#include "settings/PortablePreferences.h"
#include "settings/PreferenceEntry.h"

#include <QMap>
#include <QRecursiveMutex>

namespace UtilsLib {

// The preferences store with its small XML file: typed entries, case-insensitive keys,
// optional time units and scrambled ("encrypted") values. Any thread may use it; one
// recursive lock guards the type and the entries. Nothing touches the disk except `save`,
// `load` and `removeFile`.
class XmlPreferences : public PortablePreferences
{
public:
    // Files larger than this are refused unread; a preferences file is a few hundred bytes.
    static constexpr qint64 MaximumFileSize = 1024 * 1024;

    explicit XmlPreferences(const QString &storeType = QString());
    // A copy takes the type and the entries but not the file path: a copied store has no
    // file until it is loaded, and an assigned one keeps its own.
    XmlPreferences(const XmlPreferences &other);
    XmlPreferences &operator=(const XmlPreferences &other);
    ~XmlPreferences() override;

    void setString(const QString &key, const QString &value) override;
    void setInt(const QString &key, int value) override;
    QString getString(const QString &key, const QString &defaultValue) const override;
    // No unit conversion; text that is no decimal number reads as 0.
    int getInt(const QString &key, int defaultValue) const override;
    void remove(const QString &key) override;
    bool removeFile() override;
    // Replaces the file at filePath() as a whole: a failed save leaves the old file intact.
    bool save() override;
    // `location` is a path or a URL (its path is used). A store typed "Sample Settings"
    // takes the file's base name as its type. Entries read before an error stay.
    bool load(const QString &location, bool tolerant) override;
    // Loads `location` tolerantly when given, then stores every pair as text.
    bool setAll(const QVariantMap &values, const QString &location) override;
    // Not supported: throws std::runtime_error.
    QVariantMap getAll() const override;

    void setEncryptedString(const QString &key, const QString &value, bool encrypted);
    // Stores the whole entry under its name, replacing any entry whose key differs only in case.
    void setEntry(const PreferenceEntry &entry);
    // The entry's number converted from its units into `units`; unconverted when either unit
    // is unknown or empty.
    int getIntInUnits(const QString &key, int defaultValue, const QString &units) const;
    // "unknown" when the entry has no units or does not exist.
    QString getUnits(const QString &key) const;
    // Moves a non-empty value to `newKey` (name upper-cased, units and encrypted flag kept);
    // otherwise, when `addIfMissing`, stores the default under `newKey`.
    void renameEntry(const QString &oldKey, const QString &newKey, bool addIfMissing,
                     const QString &defaultValue, const QString &defaultUnits);
    int entryCount() const;
    QString storeType() const;
    void setStoreType(const QString &storeType);
    // Erases every entry and empties the store type.
    void clear();
    QString filePath() const;
    // The complete file text, every line (the last included) ended by `lineSeparator`.
    QString toXml(const QString &lineSeparator) const;
    // Name as spelled → value.
    QMap<QString, QString> entryMap() const;
    // Exact, case-sensitive comparison with the stored names.
    bool hasEntry(const QString &name) const;

    // "<common application data>/Brindlecore/<productFolder>/config"; empty when the common
    // folder cannot be determined.
    static QString configDirectory(const QString &productFolder);
    // Seconds per unit ("milliseconds" ... "days", any letter case). Throws std::runtime_error
    // for any other unit.
    static double conversionFactor(const QString &units);
    // value × factor(from) ÷ factor(to), rounded half away from zero and clamped to the int
    // range. Throws std::runtime_error when a unit is unknown.
    static int convertUnits(int value, const QString &fromUnits, const QString &toUnits);

private:
    QString m_storeType;
    QString m_filePath;
    mutable QRecursiveMutex m_lock;
    QMap<QString, PreferenceEntry> m_entries; // by upper-cased key
};

} // namespace UtilsLib
