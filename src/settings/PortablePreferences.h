#pragma once

#include <QString>
#include <QVariantMap>

namespace UtilsLib {

// A key/value preferences store with a backing file, keys compared without regard to case.
class PortablePreferences
{
public:
    virtual ~PortablePreferences() = default;

    virtual void setString(const QString &key, const QString &value) = 0;
    virtual void setInt(const QString &key, int value) = 0;
    virtual QString getString(const QString &key, const QString &defaultValue) const = 0;
    virtual int getInt(const QString &key, int defaultValue) const = 0;
    virtual void remove(const QString &key) = 0;
    // Deletes the backing file; the entries stay in memory. False when nothing was deleted.
    virtual bool removeFile() = 0;
    virtual bool save() = 0;
    // Merges the file into the store. A missing or malformed file gives `tolerant`.
    virtual bool load(const QString &location, bool tolerant) = 0;
    virtual bool setAll(const QVariantMap &values, const QString &location) = 0;
    virtual QVariantMap getAll() const = 0;
};

} // namespace UtilsLib
