#include "settings/RegistryHive.h"

#include "settings/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace UtilsLib {

namespace {

constexpr qint64 ReadPieceSize = 64 * 1024;

bool samePath(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isBelow(const QString &path, const QString &ancestor)
{
    if (ancestor.isEmpty())
        return !path.isEmpty();
    return path.size() > ancestor.size() && path.at(ancestor.size()) == QLatin1Char('/') &&
           path.startsWith(ancestor, Qt::CaseInsensitive);
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Escapes what the line structure needs; blanks at the ends are written "\s"/"\t" because
// the reader drops unescaped blanks around the "=".
QString escaped(const QString &text, bool isName)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool atEnd = i == 0 || (isName && i == text.size() - 1);
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (atEnd && c == QLatin1Char(' '))
            out += QLatin1String("\\s");
        else if (atEnd && c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (isName && (c == QLatin1Char('=') || (i == 0 && QStringLiteral("[;#").contains(c))))
            out += QLatin1Char('\\') + c;
        // The reader looks past any white space for a comment mark or a section, so other
        // white space that starts a name is escaped as well.
        else if (isName && i == 0 && c.isSpace())
            out += QLatin1Char('\\') + c;
        else
            out += c;
    }
    return out;
}

QString unescaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text.at(++i);
        switch (next.unicode()) {
        case u'n':
            out += QLatin1Char('\n');
            break;
        case u'r':
            out += QLatin1Char('\r');
            break;
        case u't':
            out += QLatin1Char('\t');
            break;
        case u's':
            out += QLatin1Char(' ');
            break;
        default:
            out += next;
            break;
        }
    }
    return out;
}

qsizetype unescapedEquals(QStringView line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == QLatin1Char('\\'))
            ++i;
        else if (line.at(i) == QLatin1Char('='))
            return i;
    }
    return -1;
}

QStringView withoutLeadingBlanks(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size() && isBlank(text.at(start)))
        ++start;
    return text.mid(start);
}

// Trailing blanks go unless the last one is escaped ("\s" ends in a letter, so only a
// backslash followed by a blank needs care).
QStringView withoutTrailingBlanks(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1))) {
        qsizetype backslashes = 0;
        while (end - 2 - backslashes >= 0 && text.at(end - 2 - backslashes) == QLatin1Char('\\'))
            ++backslashes;
        if (backslashes % 2 == 1)
            break;
        --end;
    }
    return text.left(end);
}

} // namespace

RegistryHive::RegistryHive(const QString &filePath)
    : m_filePath(filePath)
{}

bool RegistryHive::read()
{
    m_keys.clear();
    if (!QFileInfo::exists(m_filePath))
        return true;
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumFileSize)
        return false;
    // Asks for what the file holds, plus a byte to notice growth, and goes on in pieces up to
    // one byte past the limit: asking for the limit itself would allocate all of it, on
    // every look-up.
    QByteArray content;
    qint64 wanted = file.size() + 1;
    while (content.size() <= MaximumFileSize) {
        const qint64 asked = qMin(wanted, MaximumFileSize + 1 - content.size());
        const QByteArray piece = file.read(asked);
        content += piece;
        if (piece.size() < asked)
            break;
        wanted = ReadPieceSize;
    }
    if (file.error() != QFileDevice::NoError || content.size() > MaximumFileSize)
        return false;
    parse(content);
    return true;
}

bool RegistryHive::update(const std::function<Change(RegistryHive &)> &change)
{
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QLockFile lock(m_filePath + QLatin1String(".lock"));
    if (!lock.tryLock(LockTimeoutMs) || !read())
        return false;
    switch (change(*this)) {
    case Change::Failed:
        return false;
    case Change::Unchanged:
        return true;
    case Change::Changed:
        break;
    }
    // Readers never lock: the rename shows them either the old or the new file, whole.
    return replaceFileContent(m_filePath, serialised());
}

QString RegistryHive::normalisedPath(const QString &keyPath)
{
    QString path = keyPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

bool RegistryHive::hasKey(const QString &path) const
{
    if (path.isEmpty())
        return true;
    for (const Key &key : m_keys) {
        if (samePath(key.path, path) || isBelow(key.path, path))
            return true;
    }
    return false;
}

bool RegistryHive::hasSubkeys(const QString &path) const
{
    for (const Key &key : m_keys) {
        if (isBelow(key.path, path))
            return true;
    }
    return false;
}

const RegistryHive::Value *RegistryHive::findValue(const QString &path, const QString &name) const
{
    const Key *key = findKey(path);
    if (!key)
        return nullptr;
    for (const Value &value : key->values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0)
            return &value;
    }
    return nullptr;
}

void RegistryHive::addKey(const QString &path)
{
    if (!path.isEmpty() && !findKey(path))
        m_keys.append(Key{path, {}});
}

void RegistryHive::removeKey(const QString &path)
{
    m_keys.removeIf([&path](const Key &key) { return samePath(key.path, path); });
    keepParentOf(path);
}

void RegistryHive::removeTree(const QString &path)
{
    m_keys.removeIf(
        [&path](const Key &key) { return samePath(key.path, path) || isBelow(key.path, path); });
    keepParentOf(path);
}

void RegistryHive::setValue(const QString &path, const QString &name, const QString &data)
{
    addKey(path);
    Key *key = findKey(path);
    if (!key)
        return;
    for (Value &value : key->values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0) {
            value.data = data;
            return;
        }
    }
    key->values.append(Value{name, data});
}

bool RegistryHive::removeValue(const QString &path, const QString &name)
{
    Key *key = findKey(path);
    if (!key)
        return false;
    return key->values.removeIf([&name](const Value &value) {
        return value.name.compare(name, Qt::CaseInsensitive) == 0;
    }) > 0;
}

QByteArray RegistryHive::serialised() const
{
    QString text;
    for (const Key &key : m_keys) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QLatin1Char('[') + key.path + QLatin1String("]\n");
        for (const Value &value : key.values)
            text += escaped(value.name, true) + QLatin1Char('=') + escaped(value.data, false) +
                    QLatin1Char('\n');
    }
    return text.toUtf8();
}

void RegistryHive::parse(const QByteArray &content)
{
    m_keys.clear();
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF))) // the byte-order mark some editors put first
        text.remove(0, 1);
    QString currentPath; // values before the first section have no key and are ignored
    bool inKey = false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) ||
            trimmed.startsWith(QLatin1Char('#')))
            continue;
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            currentPath = normalisedPath(trimmed.mid(1, trimmed.size() - 2).toString());
            inKey = !currentPath.isEmpty();
            addKey(currentPath);
            continue;
        }
        const qsizetype equals = unescapedEquals(line);
        if (!inKey || equals < 0)
            continue;
        const QString name =
            unescaped(withoutTrailingBlanks(withoutLeadingBlanks(line.left(equals))));
        const QString data = unescaped(withoutLeadingBlanks(line.mid(equals + 1)));
        setValue(currentPath, name, data);
    }
}

RegistryHive::Key *RegistryHive::findKey(const QString &path)
{
    for (Key &key : m_keys) {
        if (samePath(key.path, path))
            return &key;
    }
    return nullptr;
}

const RegistryHive::Key *RegistryHive::findKey(const QString &path) const
{
    for (const Key &key : m_keys) {
        if (samePath(key.path, path))
            return &key;
    }
    return nullptr;
}

void RegistryHive::keepParentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash > 0) {
        const QString parent = path.left(slash);
        if (!hasKey(parent))
            addKey(parent);
    }
}

} // namespace UtilsLib
