#include "ui/DialogSettings.h"

#include "core/VersionInfoInterface.h"

#include <algorithm>

namespace {

class NoVersionInfo : public VersionInfoInterface
{
public:
    QString fileVersion() const override { return QString(); }
    QString companyName() const override { return QString(); }
    QString copyright() const override { return QString(); }
    QString fileDescription() const override { return QString(); }
    QString productName() const override { return QString(); }
    QString executableBaseName() const override { return QString(); }
};

} // namespace

DialogSettings &DialogSettings::shared()
{
    static DialogSettings settings;
    return settings;
}

void DialogSettings::reset()
{
    m_values = Values();
}

QFont DialogSettings::font() const
{
    return QFont(m_values.fontFamily, m_values.fontPointSize);
}

void DialogSettings::setFont(const QString &family, int pointSize)
{
    m_values.fontFamily = family;
    m_values.fontPointSize = pointSize;
}

bool DialogSettings::updateLanguageEntry(const QString &languageCode, const QString &name,
                                         const QString &closeText)
{
    auto mapped = m_values.languageMap.find(languageCode);
    if (mapped == m_values.languageMap.end())
        return false;
    auto entry = std::find_if(m_values.languageList.begin(), m_values.languageList.end(),
                              [&](const LanguageEntry &e) { return e.first == *mapped; });
    if (entry == m_values.languageList.end())
        return false;
    if (!name.isEmpty()) {
        *mapped = name;
        entry->first = name;
    }
    if (!closeText.isEmpty())
        entry->second = closeText;
    return true;
}

const VersionInfoInterface &DialogSettings::versionInfo() const
{
    static const NoVersionInfo none;
    return m_values.versionInfo ? *m_values.versionInfo : none;
}
