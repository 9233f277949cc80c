#pragma once

#include "TableTranslator.h"
#include "i18n/LanguageChangerInterface.h"

#include <QCoreApplication>
#include <QStringList>

#include <memory>

// Answers with a fixed result; unless the result is 0 it installs a translator that puts
// "[<code>] " in front of every text, so re-translated widgets are easy to tell apart.
class FakeLanguageChanger : public LanguageChangerInterface
{
public:
    explicit FakeLanguageChanger(int result)
        : m_result(result)
    {}
    ~FakeLanguageChanger() override
    {
        if (m_translator)
            QCoreApplication::removeTranslator(m_translator.get());
    }

    int changeLanguage(const QString &languageCode) override
    {
        m_requests.append(languageCode);
        if (m_result == 0)
            return 0;
        if (m_translator)
            QCoreApplication::removeTranslator(m_translator.get());
        m_translator = std::make_unique<TableTranslator>(QStringLiteral("[%1] ").arg(languageCode));
        QCoreApplication::installTranslator(m_translator.get());
        return m_result;
    }
    QStringList requests() const { return m_requests; }

private:
    int m_result;
    QStringList m_requests;
    std::unique_ptr<TableTranslator> m_translator;
};
