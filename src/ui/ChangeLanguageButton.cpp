#include "ui/ChangeLanguageButton.h"

#include "ui/TextRotation.h"

#include <algorithm>

ChangeLanguageButton::ChangeLanguageButton(QWidget *parent, const LanguageList &languages,
                                           int intervalMs)
    : QPushButton(parent)
    , m_languages(languages)
    , m_rotation(new TextRotation(this, languages.size(), intervalMs))
{
    setObjectName(QStringLiteral("ChangeLanguageButton"));
    int widest = 0;
    for (const LanguageEntry &entry : std::as_const(m_languages)) {
        widest = std::max(widest, fontMetrics().horizontalAdvance(entry.first) + 24);
        widest = std::max(widest, fontMetrics().horizontalAdvance(entry.second) + 24);
    }
    if (widest > minimumWidth())
        setMinimumWidth(widest);
    setFocusPolicy(Qt::NoFocus);
    setDefault(false);
    setAutoDefault(false);
    if (!m_languages.isEmpty())
        setText(m_languages.first().first);
    connect(m_rotation, &TextRotation::stepped, this, &ChangeLanguageButton::showEntry);
}

int ChangeLanguageButton::interval() const
{
    return m_rotation->intervalMs();
}

void ChangeLanguageButton::setExtensionShown(bool shown)
{
    m_open = shown;
    m_rotation->step();
}

void ChangeLanguageButton::showEntry(qsizetype entry)
{
    const LanguageEntry &language = m_languages.at(entry);
    setText(m_open ? language.second : language.first);
}
