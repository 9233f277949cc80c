#pragma once

#include "settings/RegistryInterface.h"

#include <QMap>
#include <QStringList>

// An in-memory registry: values keyed by "<root>|<key path>|<value name>", with the calls
// that change the connected root recorded, so tests can check that a reader restores it.
class FakeRegistry : public UtilsLib::RegistryInterface
{
public:
    void setValue(UtilsLib::RegistryRoot root, const QString &keyPath, const QString &name,
                  const QVariant &value)
    {
        m_values.insert(path(root, keyPath, name), value);
    }
    void refuseConnections(bool refuse) { m_refuse = refuse; }
    QStringList calls() const { return m_calls; }

    QString machineName() const override { return QString(); }
    UtilsLib::RegistryRoot rootKey() const override { return m_root; }
    bool setRoot(const QString &) override { return false; }
    bool connectRoot(UtilsLib::RegistryRoot root) override
    {
        m_calls.append(QStringLiteral("connectRoot %1").arg(static_cast<int>(root)));
        if (m_refuse)
            return false;
        m_root = root;
        return true;
    }
    void closeRoot() override
    {
        m_calls.append(QStringLiteral("closeRoot"));
        m_root = UtilsLib::RegistryRoot::None;
    }
    void closeKey() override {}
    bool openKey(const QString &) override { return m_root != UtilsLib::RegistryRoot::None; }
    bool createKey(const QString &) override { return false; }
    bool deleteKey(const QString &) override { return false; }
    bool deleteTree(const QString &) override { return false; }
    bool deleteValue(const QString &, const QString &) override { return false; }
    QVariant readValue(const QString &keyPath, const QString &name, int) override
    {
        return m_values.value(path(m_root, keyPath, name));
    }
    QVariant readIntOr(const QString &keyPath, const QString &name, int defaultValue,
                       int maxBytes) override
    {
        const QVariant value = readValue(keyPath, name, maxBytes);
        return value.isValid() ? value : QVariant(defaultValue);
    }
    QVariant readStringOr(const QString &keyPath, const QString &name, const QString &defaultValue,
                          int maxBytes) override
    {
        const QVariant value = readValue(keyPath, name, maxBytes);
        return value.isValid() ? value : QVariant(defaultValue);
    }
    bool writeDword(const QString &, const QString &, quint32) override { return false; }
    bool writeValue(const QString &, const QString &, const QString &) override { return false; }

private:
    static QString path(UtilsLib::RegistryRoot root, const QString &keyPath, const QString &name)
    {
        return QStringLiteral("%1|%2|%3")
            .arg(static_cast<int>(root))
            .arg(keyPath.toLower(), name.toLower());
    }

    QMap<QString, QVariant> m_values;
    UtilsLib::RegistryRoot m_root = UtilsLib::RegistryRoot::None;
    bool m_refuse = false;
    QStringList m_calls;
};
