#include "settings/OpcPreferences.h"

bool OpcPreferences::dynamicLanguageEnabled() const
{
    return m_dynamicLanguageEnabled;
}

void OpcPreferences::setDynamicLanguageEnabled(bool enabled)
{
    m_dynamicLanguageEnabled = enabled;
}

QString OpcPreferences::supportedDialects() const
{
    return m_supportedDialects;
}

void OpcPreferences::setSupportedDialects(const QString &dialects)
{
    m_supportedDialects = dialects;
}

QString OpcPreferences::locale() const
{
    return m_locale;
}

void OpcPreferences::setLocale(const QString &locale)
{
    m_locale = locale.isEmpty() ? DefaultLocale : locale;
}

QString OpcPreferences::currentLocale() const
{
    return m_currentLocale;
}

void OpcPreferences::setCurrentLocale(const QString &locale)
{
    m_currentLocale = locale;
}

bool OpcPreferences::userIdFilterEnabled() const
{
    return m_userIdFilterEnabled;
}

QString OpcPreferences::userIdFilterExceptions() const
{
    return m_userIdFilterExceptions;
}

void OpcPreferences::setUserIdFilter(bool enabled, const QString &exceptions)
{
    m_userIdFilterEnabled = enabled;
    m_userIdFilterExceptions = enabled ? exceptions : QString();
}

bool OpcPreferences::pinFilterEnabled() const
{
    return m_pinFilterEnabled;
}

QString OpcPreferences::pinFilterExceptions() const
{
    return m_pinFilterExceptions;
}

void OpcPreferences::setPinFilter(bool enabled, const QString &exceptions)
{
    m_pinFilterEnabled = enabled;
    m_pinFilterExceptions = enabled ? exceptions : QString();
}
