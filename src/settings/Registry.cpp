#include "settings/Registry.h"

#include <QDir>

namespace UtilsLib {

namespace {

const QLatin1String DwordTag("dword:");
const QLatin1String StringTag("sz:");

QString rootFileName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::LocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE.ini");
    case RegistryRoot::CurrentUser:
        return QStringLiteral("HKEY_CURRENT_USER.ini");
    case RegistryRoot::ClassesRoot:
        return QStringLiteral("HKEY_CLASSES_ROOT.ini");
    case RegistryRoot::Users:
        return QStringLiteral("HKEY_USERS.ini");
    case RegistryRoot::None:
        break;
    }
    return QString();
}

RegistryRoot rootOfName(const QString &name)
{
    if (name == QLatin1String("HKEY_LOCAL_MACHINE") || name == QLatin1String("HKLM"))
        return RegistryRoot::LocalMachine;
    if (name == QLatin1String("HKEY_CURRENT_USER") || name == QLatin1String("HKCU"))
        return RegistryRoot::CurrentUser;
    if (name == QLatin1String("HKEY_CLASSES_ROOT") || name == QLatin1String("HKCR"))
        return RegistryRoot::ClassesRoot;
    if (name == QLatin1String("HKEY_USERS") || name == QLatin1String("HKU"))
        return RegistryRoot::Users;
    return RegistryRoot::None;
}

// Key names cannot hold line breaks: the hive file keeps one key a line.
bool isUsablePath(const QString &keyPath)
{
    return !keyPath.contains(QLatin1Char('\n')) && !keyPath.contains(QLatin1Char('\r'));
}

bool isHexNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 8)
        return false;
    for (const QChar c : text) {
        if (!c.isDigit() && !QStringLiteral("abcdefABCDEF").contains(c))
            return false;
    }
    return true;
}

QVariant decodedData(const QString &data, int maxBytes)
{
    if (data.startsWith(DwordTag, Qt::CaseInsensitive)) {
        const QString digits = data.mid(DwordTag.size());
        if (maxBytes < 4 || !isHexNumber(digits))
            return QVariant();
        return QVariant::fromValue<uint>(digits.toUInt(nullptr, 16));
    }
    // Untagged data (typed in by hand) is text as it stands.
    const QString text =
        data.startsWith(StringTag, Qt::CaseInsensitive) ? data.mid(StringTag.size()) : data;
    if (text.toUtf8().size() + 1 > maxBytes)
        return QVariant();
    return text;
}

} // namespace

Registry::Registry(const QString &machineName)
    : m_machineName(machineName)
{
    if (!m_machineName.isEmpty() && !m_machineName.startsWith(QLatin1String("\\\\")))
        m_machineName.prepend(QLatin1String("\\\\"));
}

Registry::~Registry()
{
    closeKey();
    closeRoot();
}

QString Registry::machineName() const
{
    return m_machineName;
}

RegistryRoot Registry::rootKey() const
{
    return m_root;
}

bool Registry::setRoot(const QString &rootName)
{
    return connectRoot(rootOfName(rootName));
}

bool Registry::connectRoot(RegistryRoot root)
{
    closeRoot();
    if (root == RegistryRoot::None || !m_machineName.isEmpty())
        return false;
    m_root = root;
    m_hive = RegistryHive(hiveFilePath(root));
    return true;
}

void Registry::closeRoot()
{
    closeKey();
    m_root = RegistryRoot::None;
    m_hive = RegistryHive();
}

void Registry::closeKey()
{
    m_openKey.reset();
}

bool Registry::openKey(const QString &keyPath)
{
    closeKey();
    const QString path = RegistryHive::normalisedPath(keyPath);
    if (m_root == RegistryRoot::None || !m_hive.read() || !m_hive.hasKey(path))
        return false;
    m_openKey = path;
    return true;
}

bool Registry::createKey(const QString &keyPath)
{
    closeKey();
    const QString path = RegistryHive::normalisedPath(keyPath);
    if (m_root == RegistryRoot::None || !isUsablePath(path))
        return false;
    const bool created = m_hive.update([&path](RegistryHive &hive) {
        if (hive.hasKey(path))
            return RegistryHive::Change::Unchanged;
        hive.addKey(path);
        return RegistryHive::Change::Changed;
    });
    if (!created)
        return false;
    m_openKey = path;
    return true;
}

bool Registry::deleteKey(const QString &keyPath)
{
    const QString path = RegistryHive::normalisedPath(keyPath);
    if (m_root == RegistryRoot::None || path.isEmpty())
        return false;
    return m_hive.update([&path](RegistryHive &hive) {
        if (!hive.hasKey(path) || hive.hasSubkeys(path))
            return RegistryHive::Change::Failed;
        hive.removeKey(path);
        return RegistryHive::Change::Changed;
    });
}

bool Registry::deleteTree(const QString &keyPath)
{
    const QString path = RegistryHive::normalisedPath(keyPath);
    if (m_root == RegistryRoot::None || path.isEmpty())
        return false;
    return m_hive.update([&path](RegistryHive &hive) {
        if (!hive.hasKey(path))
            return RegistryHive::Change::Failed;
        hive.removeTree(path);
        return RegistryHive::Change::Changed;
    });
}

bool Registry::deleteValue(const QString &keyPath, const QString &valueName)
{
    const QString path = RegistryHive::normalisedPath(keyPath);
    if (m_root == RegistryRoot::None)
        return false;
    return m_hive.update([&](RegistryHive &hive) {
        return hive.removeValue(path, valueName) ? RegistryHive::Change::Changed
                                                 : RegistryHive::Change::Failed;
    });
}

QVariant Registry::readValue(const QString &keyPath, const QString &valueName, int maxBytes)
{
    if (!openKey(keyPath))
        return QVariant();
    const RegistryHive::Value *value = m_hive.findValue(*m_openKey, valueName);
    return value ? decodedData(value->data, maxBytes) : QVariant();
}

QVariant Registry::readIntOr(const QString &keyPath, const QString &valueName, int defaultValue,
                             int maxBytes)
{
    const QVariant value = readValue(keyPath, valueName, maxBytes);
    return value.isValid() ? value : QVariant(defaultValue);
}

QVariant Registry::readStringOr(const QString &keyPath, const QString &valueName,
                                const QString &defaultValue, int maxBytes)
{
    const QVariant value = readValue(keyPath, valueName, maxBytes);
    return value.isValid() ? value : QVariant(defaultValue);
}

bool Registry::writeDword(const QString &keyPath, const QString &valueName, quint32 value)
{
    return writeData(keyPath, valueName,
                     DwordTag + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')));
}

bool Registry::writeValue(const QString &keyPath, const QString &valueName,
                          const QString &typedText)
{
    QString text = typedText;
    bool isNumber = false;
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (!text.contains(QLatin1Char('"')) && colon > 0) {
        isNumber = text.left(colon).startsWith(QLatin1String("dword"), Qt::CaseInsensitive);
        text = text.mid(colon + 1);
    }
    if (isNumber) {
        bool ok = false;
        const quint32 number = text.toUInt(&ok, 16);
        return writeDword(keyPath, valueName, ok ? number : 0);
    }
    text.remove(QLatin1Char('"'));
    return writeData(keyPath, valueName, StringTag + text);
}

QString Registry::hiveFilePath(RegistryRoot root)
{
    const QString fileName = rootFileName(root);
    if (fileName.isEmpty())
        return QString();
    QString folder = qEnvironmentVariable("ONDTPC_REGISTRY_DIR");
    if (folder.isEmpty() && root == RegistryRoot::CurrentUser) {
        QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (configHome.isEmpty() || !QDir::isAbsolutePath(configHome))
            configHome = QDir::homePath() + QLatin1String("/.config");
        folder = configHome + QLatin1String("/ondtpc/registry");
    } else if (folder.isEmpty()) {
        folder = QStringLiteral("/etc/ondtpc/registry");
    }
    return QDir::cleanPath(folder) + QLatin1Char('/') + fileName;
}

bool Registry::writeData(const QString &keyPath, const QString &valueName, const QString &data)
{
    closeKey();
    const QString path = RegistryHive::normalisedPath(keyPath);
    // The roots' own values are left alone, as the desktop's registry does.
    if (m_root == RegistryRoot::None || path.isEmpty() || !isUsablePath(path))
        return false;
    const bool written = m_hive.update([&](RegistryHive &hive) {
        hive.setValue(path, valueName, data);
        return RegistryHive::Change::Changed;
    });
    if (!written)
        return false;
    m_openKey = path;
    return true;
}

} // namespace UtilsLib
