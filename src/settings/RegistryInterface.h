#pragma once

#include <QString>
#include <QVariant>

namespace UtilsLib {

// The root keys of the hives; None is the state before a root is connected.
enum class RegistryRoot { None, LocalMachine, CurrentUser, ClassesRoot, Users };

// Thin access to the hierarchical key/value store the client's installer and the desktop
// write: one connected root, at most one open key. Failures are results (false, an invalid
// variant), never logged.
class RegistryInterface
{
public:
    virtual ~RegistryInterface() = default;

    virtual QString machineName() const = 0;
    virtual RegistryRoot rootKey() const = 0;
    // "HKEY_LOCAL_MACHINE"/"HKLM", "HKEY_CURRENT_USER"/"HKCU", "HKEY_CLASSES_ROOT"/"HKCR",
    // "HKEY_USERS"/"HKU", compared case-sensitively; anything else fails.
    virtual bool setRoot(const QString &rootName) = 0;
    virtual bool connectRoot(RegistryRoot root) = 0;
    virtual void closeRoot() = 0;
    virtual void closeKey() = 0;
    virtual bool openKey(const QString &keyPath) = 0;
    virtual bool createKey(const QString &keyPath) = 0;
    virtual bool deleteKey(const QString &keyPath) = 0;
    virtual bool deleteTree(const QString &keyPath) = 0;
    virtual bool deleteValue(const QString &keyPath, const QString &valueName) = 0;
    // A dword reads as an unsigned number, anything else as text; a missing key or value,
    // or one longer than maxBytes, is the invalid variant.
    virtual QVariant readValue(const QString &keyPath, const QString &valueName, int maxBytes) = 0;
    virtual QVariant readIntOr(const QString &keyPath, const QString &valueName, int defaultValue,
                               int maxBytes) = 0;
    virtual QVariant readStringOr(const QString &keyPath, const QString &valueName,
                                  const QString &defaultValue, int maxBytes) = 0;
    virtual bool writeDword(const QString &keyPath, const QString &valueName, quint32 value) = 0;
    // typedText: "dword:<hex>" writes a number; text with a double quote, "sz:<text>" or
    // text without ":" writes a string (double quotes removed).
    virtual bool writeValue(const QString &keyPath, const QString &valueName,
                            const QString &typedText) = 0;
};

} // namespace UtilsLib
