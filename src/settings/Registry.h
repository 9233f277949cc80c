#pragma once

#include "settings/RegistryHive.h"
#include "settings/RegistryInterface.h"

#include <optional>

namespace UtilsLib {

// The registry of this machine, one hive file per root key: HKEY_CURRENT_USER.ini in
// ${XDG_CONFIG_HOME:-~/.config}/ondtpc/registry, the other roots in /etc/ondtpc/registry
// (written by the installer); ONDTPC_REGISTRY_DIR replaces both folders. Every read looks at
// the file as it is now, so other processes' writes are seen at once. Remote machines are
// not supported: with a machine name no root connects. Not shared between threads.
class Registry : public RegistryInterface
{
public:
    // A name without the leading "\\" gets it.
    explicit Registry(const QString &machineName = QString());
    ~Registry() override;

    Registry(const Registry &) = delete;
    Registry &operator=(const Registry &) = delete;

    QString machineName() const override;
    RegistryRoot rootKey() const override;
    bool setRoot(const QString &rootName) override;
    bool connectRoot(RegistryRoot root) override;
    void closeRoot() override;
    void closeKey() override;
    bool openKey(const QString &keyPath) override;
    bool createKey(const QString &keyPath) override;
    bool deleteKey(const QString &keyPath) override;
    bool deleteTree(const QString &keyPath) override;
    bool deleteValue(const QString &keyPath, const QString &valueName) override;
    // A string counts its UTF-8 bytes and the terminating zero byte against maxBytes, a dword
    // four bytes.
    QVariant readValue(const QString &keyPath, const QString &valueName, int maxBytes) override;
    QVariant readIntOr(const QString &keyPath, const QString &valueName, int defaultValue,
                       int maxBytes) override;
    QVariant readStringOr(const QString &keyPath, const QString &valueName,
                          const QString &defaultValue, int maxBytes) override;
    bool writeDword(const QString &keyPath, const QString &valueName, quint32 value) override;
    bool writeValue(const QString &keyPath, const QString &valueName,
                    const QString &typedText) override;

    // The hive file of a root key, following the environment as it is now.
    static QString hiveFilePath(RegistryRoot root);

private:
    // Creates the key when needed, stores the typed data and leaves the key open.
    bool writeData(const QString &keyPath, const QString &valueName, const QString &data);

    QString m_machineName;
    RegistryRoot m_root = RegistryRoot::None;
    RegistryHive m_hive; // the connected root's file, as last read
    std::optional<QString> m_openKey;
};

} // namespace UtilsLib
