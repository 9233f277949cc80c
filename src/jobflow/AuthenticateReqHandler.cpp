#include "jobflow/AuthenticateReqHandler.h"

#include "core/LogSource.h"
#include "jobflow/AuthenticateReq.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/UserCredentials.h"
#include "jobflow/UserIdDialogController.h"
#include "jobflow/UserSession.h"
#include "protocol/AuthenticateMsg.h"
#include "protocol/CancelJobReq.h"
#include "settings/HexCodec.h"
#include "settings/PrintClientPreferences.h"

using Brindlecore::Core::AuthenticateReq;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("AuthenticateReqHandler"));

} // namespace

AuthenticateReqHandler::AuthenticateReqHandler(PrintClientPreferences *preferences,
                                               UserSession *session, TvrSessionInfo *booking,
                                               ClientProcessingDialog *progress,
                                               UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_session(session)
    , m_booking(booking)
    , m_progress(progress)
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> AuthenticateReqHandler::clone() const
{
    return std::make_unique<AuthenticateReqHandler>(*this);
}

QString AuthenticateReqHandler::handle(const QString &, Brindlecore::Core::Message *message)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "handle");
    const auto *request = dynamic_cast<const AuthenticateReq *>(message);
    if (!request)
        return QString();
    UserCredentials credentials;
    credentials.setPinRequired(AuthenticateReq::requiresPin(request->mode()));
    credentials.setGuestsAllowed(AuthenticateReq::guestsAllowed(request->mode()));
    if (m_progress)
        m_progress->hide();
    if (!getUserId(credentials))
        return Brindlecore::Core::CancelJobReq().toWireText();

    Brindlecore::Core::AuthenticateMsg reply;
    reply.setUserId(credentials.userId());
    if (credentials.pinRequired())
        reply.setPin(UtilsLib::hexEncode(credentials.pin()));
    if (m_session) {
        m_session->setUserId(credentials.userId());
        if (credentials.pinRequired())
            m_session->setPin(credentials.pin());
    }
    return reply.toWireText();
}

bool AuthenticateReqHandler::getUserId(UserCredentials &credentials)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "getUserId");
    if (m_session && !m_session->userId().isEmpty()) {
        // A user identified before is not asked again, unless the identity lacks the PIN this
        // request needs: the Print Service could only refuse it, so the dialog asks for the PIN
        // with the user ID filled in.
        credentials.setUserId(m_session->userId());
        if (!credentials.pinRequired() || !m_session->pin().isEmpty()) {
            credentials.setPin(m_session->pin());
            return true;
        }
    }
    return UserIdDialogController::identify(credentials, m_preferences, m_booking, this, Log);
}
