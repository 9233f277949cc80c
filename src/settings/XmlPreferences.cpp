#include "settings/XmlPreferences.h"

#include "core/AppFolders.h"
#include "settings/AtomicFile.h"
#include "settings/HexCodec.h"
#include "settings/XmlPreferencesFileParser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QUrl>

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>

namespace UtilsLib {

namespace {

const QString SampleSettingsType = QStringLiteral("Sample Settings");
const QString FileLineSeparator = QStringLiteral("\r\n");

bool isXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// The five entity replacements of the file format. A carriage return (and, inside an
// attribute, a tab or line feed) is written as a character reference, because a reader
// normalises the raw character away; characters XML cannot carry at all are left out, so a
// saved file always loads again.
QString escaped(const QString &text, bool inAttribute)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&apos;");
            break;
        case u'\r':
            out += QLatin1String("&#13;");
            break;
        case u'\t':
        case u'\n':
            if (inAttribute)
                out += QStringLiteral("&#%1;").arg(c.unicode());
            else
                out += c;
            break;
        default:
            if (isXmlCharacter(c.unicode()))
                out += c;
            break;
        }
    }
    return out;
}

QString escapedText(const QString &text)
{
    return escaped(text, false);
}

QString escapedAttribute(const QString &text)
{
    return escaped(text, true);
}

int parseNumber(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    return ok ? number : 0;
}

// Factors in seconds; unit names are case-insensitive.
std::optional<double> secondsPerUnit(const QString &units)
{
    static const QHash<QString, double> factors{
        {QStringLiteral("milliseconds"), 0.001}, {QStringLiteral("seconds"), 1.0},
        {QStringLiteral("minutes"), 60.0},       {QStringLiteral("hours"), 3600.0},
        {QStringLiteral("days"), 86400.0},
    };
    const auto it = factors.constFind(units.toLower());
    if (it == factors.constEnd())
        return std::nullopt;
    return *it;
}

int roundedHalfAwayFromZero(double value)
{
    const double rounded = std::trunc(value > 0 ? value + 0.5 : value - 0.5);
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

int convertedOrUnchanged(int value, const QString &fromUnits, const QString &toUnits)
{
    const std::optional<double> from = secondsPerUnit(fromUnits);
    const std::optional<double> to = secondsPerUnit(toUnits);
    if (!from || !to)
        return value;
    return roundedHalfAwayFromZero(value * *from / *to);
}

// A plain path is taken literally (no percent decoding, "#" is part of the name); a URL
// with a scheme gives its path.
QString pathOfLocation(const QString &location)
{
    const QUrl url(location);
    if (url.isValid() && url.scheme().size() > 1)
        return url.isLocalFile() ? url.toLocalFile() : url.path();
    return location;
}

} // namespace

XmlPreferences::XmlPreferences(const QString &storeType)
    : m_storeType(storeType)
{}

XmlPreferences::XmlPreferences(const XmlPreferences &other)
    : PortablePreferences()
{
    const QMutexLocker locker(&other.m_lock);
    m_storeType = other.m_storeType;
    m_entries = other.m_entries;
}

XmlPreferences &XmlPreferences::operator=(const XmlPreferences &other)
{
    if (this == &other)
        return *this;
    QString storeType;
    QMap<QString, PreferenceEntry> entries;
    {
        // Never hold both locks: two stores assigned to each other at once would deadlock.
        const QMutexLocker locker(&other.m_lock);
        storeType = other.m_storeType;
        entries = other.m_entries;
    }
    const QMutexLocker locker(&m_lock);
    m_storeType = storeType;
    m_entries = entries;
    return *this;
}

XmlPreferences::~XmlPreferences() = default;

void XmlPreferences::setString(const QString &key, const QString &value)
{
    setEntry(PreferenceEntry{key, value, QString(), false});
}

void XmlPreferences::setInt(const QString &key, int value)
{
    setEntry(PreferenceEntry{key, QString::number(value), QString(), false});
}

QString XmlPreferences::getString(const QString &key, const QString &defaultValue) const
{
    const QMutexLocker locker(&m_lock);
    const auto it = m_entries.constFind(key.toUpper());
    return it == m_entries.constEnd() ? defaultValue : it->value;
}

int XmlPreferences::getInt(const QString &key, int defaultValue) const
{
    const QMutexLocker locker(&m_lock);
    const auto it = m_entries.constFind(key.toUpper());
    return it == m_entries.constEnd() ? defaultValue : parseNumber(it->value);
}

void XmlPreferences::remove(const QString &key)
{
    const QMutexLocker locker(&m_lock);
    m_entries.remove(key.toUpper());
}

bool XmlPreferences::removeFile()
{
    const QMutexLocker locker(&m_lock);
    return !m_filePath.isEmpty() && QFile::remove(m_filePath);
}

bool XmlPreferences::save()
{
    const QMutexLocker locker(&m_lock);
    if (m_filePath.isEmpty())
        return false;
    const QFileInfo info(m_filePath);
    // A folder that cannot be made shows up as the failure to open the file below.
    QDir().mkpath(info.absolutePath());
    return replaceFileContent(info.absoluteFilePath(), toXml(FileLineSeparator).toUtf8());
}

bool XmlPreferences::load(const QString &location, bool tolerant)
{
    const QMutexLocker locker(&m_lock);
    m_filePath = pathOfLocation(location);
    if (m_storeType == SampleSettingsType) {
        const QString fileName = QFileInfo(m_filePath).fileName();
        const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
        m_storeType = dot < 0 ? fileName : fileName.left(dot);
    }

    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly))
        return tolerant;
    const QByteArray document = file.read(MaximumFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return tolerant;
    XmlPreferencesFileParser parser(*this);
    return parser.parse(document) || tolerant;
}

bool XmlPreferences::setAll(const QVariantMap &values, const QString &location)
{
    const QMutexLocker locker(&m_lock);
    if (!location.isEmpty())
        load(location, true);
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        setString(it.key(), it.value().toString());
    return true;
}

QVariantMap XmlPreferences::getAll() const
{
    throw std::runtime_error("XmlPreferences::getAll() not implemented");
}

void XmlPreferences::setEncryptedString(const QString &key, const QString &value, bool encrypted)
{
    setEntry(PreferenceEntry{key, value, QString(), encrypted});
}

void XmlPreferences::setEntry(const PreferenceEntry &entry)
{
    const QMutexLocker locker(&m_lock);
    m_entries.insert(entry.name.toUpper(), entry);
}

int XmlPreferences::getIntInUnits(const QString &key, int defaultValue, const QString &units) const
{
    const QMutexLocker locker(&m_lock);
    const auto it = m_entries.constFind(key.toUpper());
    if (it == m_entries.constEnd())
        return convertedOrUnchanged(defaultValue, QString(), units);
    return convertedOrUnchanged(parseNumber(it->value), it->units, units);
}

QString XmlPreferences::getUnits(const QString &key) const
{
    const QMutexLocker locker(&m_lock);
    const auto it = m_entries.constFind(key.toUpper());
    if (it == m_entries.constEnd() || it->units.isEmpty())
        return QStringLiteral("unknown");
    return it->units;
}

void XmlPreferences::renameEntry(const QString &oldKey, const QString &newKey, bool addIfMissing,
                                 const QString &defaultValue, const QString &defaultUnits)
{
    const QMutexLocker locker(&m_lock);
    const QString oldUpper = oldKey.toUpper();
    const QString newUpper = newKey.toUpper();
    const auto it = m_entries.constFind(oldUpper);
    if (it != m_entries.constEnd() && !it->value.isEmpty()) {
        // Kept encrypted: a rename must not put a scrambled secret into the file in clear.
        const PreferenceEntry moved{newUpper, it->value, it->units, it->encrypted};
        m_entries.insert(newUpper, moved);
        // Renaming a key to itself in another letter case must not lose the entry.
        if (oldUpper != newUpper)
            m_entries.remove(oldUpper);
    } else if (addIfMissing) {
        m_entries.insert(newUpper, PreferenceEntry{newKey, defaultValue, defaultUnits, false});
    }
}

int XmlPreferences::entryCount() const
{
    const QMutexLocker locker(&m_lock);
    return static_cast<int>(m_entries.size());
}

QString XmlPreferences::storeType() const
{
    const QMutexLocker locker(&m_lock);
    return m_storeType;
}

void XmlPreferences::setStoreType(const QString &storeType)
{
    const QMutexLocker locker(&m_lock);
    m_storeType = storeType;
}

void XmlPreferences::clear()
{
    const QMutexLocker locker(&m_lock);
    m_entries.clear();
    m_storeType.clear();
}

QString XmlPreferences::filePath() const
{
    const QMutexLocker locker(&m_lock);
    return m_filePath;
}

QString XmlPreferences::toXml(const QString &lineSeparator) const
{
    const QMutexLocker locker(&m_lock);
    QString xml;
    xml += QLatin1String("<?xml version=\"1.0\" encoding=\"utf-8\" ?>") + lineSeparator;
    xml += QLatin1String("<Settings>") + lineSeparator;
    xml += QLatin1String("<version>1.1</version>") + lineSeparator;
    xml += QLatin1String("<type>") + escapedText(m_storeType) + QLatin1String("</type>") +
           lineSeparator;
    for (const PreferenceEntry &entry : m_entries) {
        xml += QLatin1String("<entry name='") + escapedAttribute(entry.name) + QLatin1Char('\'');
        if (entry.encrypted)
            xml += QLatin1String(" encrypted='1'");
        if (!entry.units.isEmpty())
            xml += QLatin1String(" units='") + escapedAttribute(entry.units) + QLatin1Char('\'');
        xml += QLatin1Char('>');
        xml += entry.encrypted ? hexEncode(entry.value) : escapedText(entry.value);
        xml += QLatin1String("</entry>") + lineSeparator;
    }
    xml += QLatin1String("</Settings>") + lineSeparator;
    return xml;
}

QMap<QString, QString> XmlPreferences::entryMap() const
{
    const QMutexLocker locker(&m_lock);
    QMap<QString, QString> map;
    for (const PreferenceEntry &entry : m_entries)
        map.insert(entry.name, entry.value);
    return map;
}

bool XmlPreferences::hasEntry(const QString &name) const
{
    const QMutexLocker locker(&m_lock);
    for (const PreferenceEntry &entry : m_entries) {
        if (entry.name == name)
            return true;
    }
    return false;
}

QString XmlPreferences::configDirectory(const QString &productFolder)
{
    const QString common = AppFolders::commonAppData();
    if (common.isEmpty())
        return QString();
    return QStringLiteral("%1/Brindlecore/%2/config").arg(common, productFolder);
}

double XmlPreferences::conversionFactor(const QString &units)
{
    const std::optional<double> factor = secondsPerUnit(units);
    if (!factor) {
        throw std::runtime_error(
            QStringLiteral("Conversion Failure: Unable to get conversion factor from %1 to seconds")
                .arg(units)
                .toStdString());
    }
    return *factor;
}

int XmlPreferences::convertUnits(int value, const QString &fromUnits, const QString &toUnits)
{
    try {
        const double from = conversionFactor(fromUnits);
        const double to = conversionFactor(toUnits);
        return roundedHalfAwayFromZero(value * from / to);
    } catch (const std::runtime_error &) {
        throw std::runtime_error(
            QStringLiteral("Conversion Failure: Could not convert from %1 to %2")
                .arg(fromUnits, toUnits)
                .toStdString());
    }
}

} // namespace UtilsLib
