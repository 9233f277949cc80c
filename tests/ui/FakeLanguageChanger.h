#pragma once

#include "TableTranslator.h"
#include "ui/LanguageChangerInterface.h"

#include <QCoreApplication>

#include <memory>

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
        m_requests.append(languageCode);
        if (m_result != 0) { // a translator removes itself from the application when deleted
            m_translator = std::make_unique<TableTranslator>('[' + languageCode + "] ");
            QCoreApplication::installTranslator(m_translator.get());
        }
        return m_result;
    }
    QStringList requests() const { return m_requests; }

private:
    int m_result;
    QStringList m_requests;
    std::unique_ptr<TableTranslator> m_translator;
};
