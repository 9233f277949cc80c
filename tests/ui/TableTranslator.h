#pragma once

#include <QHash>
#include <QTranslator>

// A translator whose translations are given in code: (context, source) -> text, or, with a
// prefix, every source text of every context with that prefix in front.
class TableTranslator : public QTranslator
{
public:
    explicit TableTranslator(const QString &prefix = QString())
        : m_prefix(prefix)
    {}

    void add(const char *context, const QString &source, const QString &text)
    {
        m_table.insert(key(context, source), text);
    }

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        const QString source = QString::fromUtf8(sourceText);
        const auto found = m_table.constFind(key(context, source));
        if (found != m_table.constEnd())
            return *found;
        return m_prefix.isEmpty() || source.isEmpty() ? QString() : m_prefix + source;
    }
    bool isEmpty() const override { return false; }

private:
    static QString key(const char *context, const QString &source)
    {
        return QString::fromUtf8(context) + QLatin1Char('\x1f') + source;
    }

    QString m_prefix;
    QHash<QString, QString> m_table;
};
