#pragma once

#include "core/VersionInfoInterface.h"
#include "ui/LanguageChangerInterface.h"

#include <QCoreApplication>
#include <QHash>
#include <QTranslator>

#include <memory>

class FakeVersionInfo : public VersionInfoInterface
{
public:
    QString fileVersion() const override { return QStringLiteral("05.01.02.0037"); }
    QString companyName() const override { return QStringLiteral("Example Works"); }
    QString copyright() const override { return QStringLiteral("Copyright © 2031"); }
    QString fileDescription() const override { return QStringLiteral("Example Client"); }
    QString productName() const override { return QStringLiteral("Example Product"); }
    QString executableBaseName() const override { return QStringLiteral("example"); }
};

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

// Answers with a fixed result; unless it is 0 it installs a translator that puts "[<code>] "
// in front of every text, so re-translated widgets are easy to tell apart.
class FakeLanguageChanger : public LanguageChangerInterface
{
public:
    explicit FakeLanguageChanger(int result)
        : m_result(result)
    {}
    int changeLanguage(const QString &languageCode) override
    {
        requests.append(languageCode);
        if (m_result != 0) { // a translator removes itself from the application when deleted
            m_translator = std::make_unique<TableTranslator>('[' + languageCode + "] ");
            QCoreApplication::installTranslator(m_translator.get());
        }
        return m_result;
    }

    QStringList requests;

private:
    int m_result;
    std::unique_ptr<TableTranslator> m_translator;
};
