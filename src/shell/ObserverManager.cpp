#include "shell/ObserverManager.h"

#include "settings/XmlPreferences.h"
#include "shell/Log4CppLogger.h"
#include "shell/NullLogger.h"

#include <QDir>

namespace Brindlecore::Core {

ObserverManager::ObserverManager(const QString &componentName,
                                 const UtilsLib::XmlPreferences &preferences,
                                 const QString &logDirectory)
{
    // Log files hold every user's diagnostics: readable by all, writable by the owner only.
    if (!logDirectory.isEmpty() && !QDir(logDirectory).exists())
        QDir().mkdir(logDirectory, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                       QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                       QFileDevice::ExeOther);
    // Without a folder there is nowhere to log to; the files must never land in "/".
    if (logDirectory.isEmpty() ||
        preferences.getIntInUnits(QStringLiteral("Logging: Enabled"), 1, QString()) == 0)
        m_observer = std::make_unique<NullLogger>();
    else
        m_observer = std::make_unique<Log4CppLogger>(componentName, preferences, logDirectory);
}

ObserverManager::~ObserverManager() = default;

} // namespace Brindlecore::Core
