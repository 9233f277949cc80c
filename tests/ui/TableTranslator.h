#pragma once

#include <QHash>
#include <QTranslator>

// A translator whose translations are given in code: (context, source) -> text; with a prefix,
// every other source text comes back with the prefix in front.
class TableTranslator : public QTranslator
{
public:
    explicit TableTranslator(const QString &prefix = QString())
        : m_prefix(prefix)
    {}
    void add(const char *context, const QString &source, const QString &text)
    {
        m_table.insert(context + ('|' + source), text);
    }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        const QString text = m_table.value(context + ('|' + QString(source)));
        return text.isEmpty() && !m_prefix.isEmpty() && *source ? m_prefix + source : text;
    }
    bool isEmpty() const override { return false; }

private:
    QString m_prefix;
    QHash<QString, QString> m_table;
};
