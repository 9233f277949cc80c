#pragma once

#include <QString>

// The language and input-filter settings the Print Service sends; a plain holder that stores
// every text as given (the settings handler splits the dialect list).
class OpcPreferences
{
public:
    OpcPreferences() = default;
    OpcPreferences(const OpcPreferences &) = default;
    OpcPreferences &operator=(const OpcPreferences &) = default;
    virtual ~OpcPreferences() = default;

    virtual bool dynamicLanguageEnabled() const;
    virtual void setDynamicLanguageEnabled(bool enabled);
    // Comma-separated language codes the user may choose among.
    virtual QString supportedDialects() const;
    virtual void setSupportedDialects(const QString &dialects);
    virtual QString locale() const;
    // An empty code stores "en_us".
    virtual void setLocale(const QString &locale);
    // The language code last applied.
    virtual QString currentLocale() const;
    virtual void setCurrentLocale(const QString &locale);

    virtual bool userIdFilterEnabled() const;
    virtual QString userIdFilterExceptions() const;
    // A disabled filter keeps no exceptions.
    virtual void setUserIdFilter(bool enabled, const QString &exceptions);
    virtual bool pinFilterEnabled() const;
    virtual QString pinFilterExceptions() const;
    virtual void setPinFilter(bool enabled, const QString &exceptions);

    static inline const QString DefaultLocale = QStringLiteral("en_us");

private:
    bool m_dynamicLanguageEnabled = false;
    QString m_supportedDialects;
    QString m_locale = DefaultLocale;
    QString m_currentLocale;
    bool m_userIdFilterEnabled = false;
    QString m_userIdFilterExceptions;
    bool m_pinFilterEnabled = false;
    QString m_pinFilterExceptions;
};
