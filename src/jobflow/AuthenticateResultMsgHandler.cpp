#include "jobflow/AuthenticateResultMsgHandler.h"

#include "core/LogSource.h"
#include "jobflow/AuthenticateResultMsg.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/MessageBoxLease.h"
#include "jobflow/ServiceText.h"
#include "jobflow/UserSession.h"
#include "protocol/EndOfSessionMsg.h"
#include "protocol/NoResponse.h"
#include "protocol/OpcAckMsg.h"
#include "ui/MessageBoxInterface.h"

using Brindlecore::Core::AuthenticateResultMsg;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("AuthenticateResultMsgHandler"));

} // namespace

AuthenticateResultMsgHandler::AuthenticateResultMsgHandler(UserSession *session,
                                                           ClientProcessingDialog *progress,
                                                           MessageBoxInterface *messageBox,
                                                           UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_session(session)
    , m_progress(progress)
    , m_messageBox(messageBox)
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> AuthenticateResultMsgHandler::clone() const
{
    return std::make_unique<AuthenticateResultMsgHandler>(*this);
}

QString AuthenticateResultMsgHandler::handle(const QString &, Brindlecore::Core::Message *message)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "handle");
    if (m_progress)
        m_progress->hide();
    const auto *result = dynamic_cast<const AuthenticateResultMsg *>(message);
    if (!result)
        return QString();
    const QString acknowledgement = Brindlecore::Core::OpcAckMsg().toWireText();
    if (result->resultCode() == AuthenticateResultMsg::Accepted) {
        if (m_session) {
            m_session->setAllocationBalance(result->allocationBalance());
            m_session->setAllocationMarker(result->allocationMarker());
            m_session->setDepositBalance(result->depositBalance());
            m_session->setMaxDepositBalance(result->maxDepositBalance());
            m_session->setCreditBalance(result->creditBalance());
            m_session->setMaxCreditBalance(result->maxCreditBalance());
            m_session->setDepositExpired(result->depositExpired());
            m_session->setCreditExpired(result->creditExpired());
            m_session->setLibraryDepositBalance(result->libraryDepositBalance());
            m_session->setLibraryDepositShown(result->libraryDepositShown());
        }
        return result->acknowledgementWanted() ? acknowledgement : Brindlecore::Core::NO_RESPONSE;
    }
    Log(this, "handle", UtilsLib::LogInfo,
        QStringLiteral("Authentication refused (%1): %2")
            .arg(result->resultCode())
            .arg(result->errorText()));
    {
        const MessageBoxLease box(m_messageBox);
        box->critical(result->errorCaption(),
                      ServiceText::rich(ServiceText::escaped(result->errorText())));
    }
    if (m_session)
        m_session->clearIdentity();
    return result->acknowledgementWanted() ? acknowledgement
                                           : Brindlecore::Core::EndOfSessionMsg().toWireText();
}
