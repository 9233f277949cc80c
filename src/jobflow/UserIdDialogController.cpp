#include "jobflow/UserIdDialogController.h"

#include "core/LogSource.h"
#include "jobflow/UserCredentials.h"
#include "jobflow/UserIdDialogView.h"
#include "settings/PrintClientPreferences.h"
#include "settings/TvrSessionInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// More than any user ID; a larger first line is no user ID either.
constexpr qint64 MaxUserIdLine = 4096;

} // namespace

UserIdDialogController::UserIdDialogController(UserCredentials *credentials,
                                               PrintClientPreferences *preferences,
                                               TvrSessionInfo *session)
    : m_credentials(credentials)
    , m_preferences(preferences)
    , m_session(session)
{}

UserIdDialogController::~UserIdDialogController() = default;

void UserIdDialogController::setView(UserIdDialogView *view)
{
    m_view = view;
    if (!m_view || !m_preferences)
        return;
    m_view->setUserIdFilter(m_preferences->userIdFilterEnabled(),
                            m_preferences->userIdFilterExceptions());
    m_view->setPinFilter(m_preferences->pinFilterEnabled(), m_preferences->pinFilterExceptions());
}

bool UserIdDialogController::isPinRequired() const
{
    return m_credentials->pinRequired();
}

bool UserIdDialogController::areGuestsAllowed() const
{
    return m_credentials->guestsAllowed();
}

bool UserIdDialogController::isUserIdMasked() const
{
    return m_preferences && m_preferences->maskUserId();
}

QString UserIdDialogController::presetUserId() const
{
    return m_credentials->userId();
}

void UserIdDialogController::storeUserId()
{
    if (m_view)
        m_credentials->setUserId(m_view->userId());
}

void UserIdDialogController::storePin()
{
    if (m_view)
        m_credentials->setPin(m_view->pin());
}

bool UserIdDialogController::fitsTheWire(const QString &text)
{
    static const QRegularExpression breaking(QStringLiteral("[|\\p{Cc}]"));
    return !text.contains(breaking);
}

QString UserIdDialogController::userIdFromFile() const
{
    const QString path = m_preferences ? m_preferences->userIdFile() : QString();
    // Only a plain file: opening a pipe or a device could wait for ever.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QByteArray line = file.readLine(MaxUserIdLine);
    if (line.endsWith('\n'))
        line.chop(1);
    else if (!file.atEnd())
        return QString();
    return QString::fromUtf8(line);
}

bool UserIdDialogController::takeAutomatic(const QString &userId, const QString &pin)
{
    if (userId.trimmed().isEmpty() || !fitsTheWire(userId))
        return false;
    m_credentials->setUserId(userId);
    m_credentials->setPin(pin);
    // Without the PIN the request needs, the Print Service could only refuse: ask for it.
    return !m_credentials->pinRequired() || !pin.isEmpty();
}

bool UserIdDialogController::identify(UserCredentials &credentials,
                                      PrintClientPreferences *preferences, TvrSessionInfo *session,
                                      const UtilsLib::Observable *caller,
                                      const UtilsLib::LogSource &log)
{
    if (preferences) {
        log(caller, "getUserId", UtilsLib::LogVerbose,
            QStringLiteral("User Id Input Filter Enabled: %1 (Exceptions: %2)")
                .arg(int(preferences->userIdFilterEnabled()))
                .arg(preferences->userIdFilterExceptions()));
        log(caller, "getUserId", UtilsLib::LogVerbose,
            QStringLiteral("User Pin Input Filter Enabled: %1 (Exceptions: %2)")
                .arg(int(preferences->pinFilterEnabled()))
                .arg(preferences->pinFilterExceptions()));
    }
    UserIdDialogController controller(&credentials, preferences, session);
    UserIdDialogView view(nullptr, &controller);
    return controller.run();
}

bool UserIdDialogController::run()
{
    const QString pin = m_session ? m_session->currentPin() : QString();
    if (takeAutomatic(userIdFromFile(), pin))
        return true;
    if (m_preferences && m_session && m_preferences->tavrinIntegration() &&
        m_session->isInSession() && m_preferences->useSessionCredentials() &&
        takeAutomatic(m_session->currentUser(), m_session->currentPin()))
        return true;
    return m_view && m_view->execDialog() == 1;
}
