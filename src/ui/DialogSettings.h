#pragma once

#include "ui/LanguageList.h"

#include <QFont>
#include <QString>

class LanguageChangerInterface;
class VersionInfoInterface;

// What every dialog of the client reads when it is built or switches language: the font, the
// default inactivity time-out, the language button's interval, the languages with the changer
// that switches between them, and the program's version texts. There is one per process
// (shared()); the start-up fills it before the first dialog is built and resets it at the end,
// because it only points to the changer and the version texts it is given. GUI thread only.
class DialogSettings
{
public:
    static constexpr int DefaultLanguageButtonIntervalMs = 2500;

    static DialogSettings &shared();

    DialogSettings(const DialogSettings &) = delete;
    DialogSettings &operator=(const DialogSettings &) = delete;

    // Puts every setting back to its default and forgets the changer and the version texts.
    void reset();

    QFont font() const;
    void setFont(const QString &family, int pointSize);
    // The time-out of dialogs that do not set their own; negative means none.
    int defaultTimeoutMs() const { return m_values.defaultTimeoutMs; }
    void setDefaultTimeoutMs(int timeoutMs) { m_values.defaultTimeoutMs = timeoutMs; }
    // Read by each language button when it is built.
    int languageButtonIntervalMs() const { return m_values.languageButtonIntervalMs; }
    void setLanguageButtonIntervalMs(int intervalMs)
    {
        m_values.languageButtonIntervalMs = intervalMs;
    }
    // Not owned; may be null (then choosing a language only closes the list).
    LanguageChangerInterface *languageChanger() const { return m_values.languageChanger; }
    void setLanguageChanger(LanguageChangerInterface *changer)
    {
        m_values.languageChanger = changer;
    }
    QString currentLanguage() const { return m_values.currentLanguage; }
    void setCurrentLanguage(const QString &languageCode)
    {
        m_values.currentLanguage = languageCode;
    }
    LanguageList languageList() const { return m_values.languageList; }
    void setLanguageList(const LanguageList &languages) { m_values.languageList = languages; }
    LanguageMap languageMap() const { return m_values.languageMap; }
    void setLanguageMap(const LanguageMap &languages) { m_values.languageMap = languages; }
    // Renames a language in the list and the map and sets its close text, each unless given
    // empty; false when the code or its list entry is unknown.
    bool updateLanguageEntry(const QString &languageCode, const QString &name,
                             const QString &closeText);
    // The texts of captions, notice lines and the about box. The dialog library does not know
    // how the program is built, so the program gives them; until then they are empty.
    const VersionInfoInterface &versionInfo() const;
    // Not owned; it must stay until it is replaced or the settings are reset.
    void setVersionInfo(const VersionInfoInterface *info) { m_values.versionInfo = info; }

private:
    struct Values
    {
        QString fontFamily = QStringLiteral("Verdana");
        int fontPointSize = 10;
        int defaultTimeoutMs = -1;
        int languageButtonIntervalMs = DefaultLanguageButtonIntervalMs;
        LanguageChangerInterface *languageChanger = nullptr;
        QString currentLanguage;
        LanguageList languageList;
        LanguageMap languageMap;
        const VersionInfoInterface *versionInfo = nullptr;
    };

    DialogSettings() = default;

    Values m_values;
};
