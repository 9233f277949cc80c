#pragma once

#include "core/Observable.h"
#include "ui/LanguageChangerInterface.h"

#include <QByteArray>

#include <memory>

class BcHttpInterface;
class QTranslator;

namespace UtilsLib {
class Observer;
}

// Switches the client's language at run time: the dialect's file from the languages folder,
// then the site's override file from the Print Service's language address. Holds at most one
// pair of translators, installed after (and so winning over) the configured locale's pair.
// GUI thread only.
class LanguageChanger
    : public LanguageChangerInterface
    , protected UtilsLib::Observable
{
public:
    // Results of changeLanguage.
    static constexpr int NothingChanged = 1;
    static constexpr int DefaultOnly = 2;
    static constexpr int DefaultAndOverride = 4;

    // baseAddress is "http://<host>:<port>/languages"; an empty applicationDirectory means the
    // program's own folder.
    LanguageChanger(std::unique_ptr<BcHttpInterface> http, const QString &baseAddress,
                    UtilsLib::Observer *observer, const QString &applicationDirectory = QString());
    ~LanguageChanger() override;

    int changeLanguage(const QString &languageCode) override;

private:
    int switchLanguage(const QString &languageCode);

    std::unique_ptr<BcHttpInterface> m_http;
    QString m_baseAddress;
    // Each translator reads the bytes beside it in place.
    std::unique_ptr<QTranslator> m_defaultTranslator;
    std::unique_ptr<QTranslator> m_overrideTranslator;
    QByteArray m_defaultData;
    QByteArray m_overrideData;
    QString m_applicationDirectory;
    bool m_changing = false;
};
