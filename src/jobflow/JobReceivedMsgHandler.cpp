#include "jobflow/JobReceivedMsgHandler.h"

#include "core/EnvironmentProvider.h"
#include "core/LogSource.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/DialogContext.h"
#include "jobflow/JobReceivedMsg.h"
#include "jobflow/PageCountDialogView.h"
#include "jobflow/PageCountValidator.h"
#include "jobflow/UserCredentials.h"
#include "jobflow/UserIdDialogController.h"
#include "jobflow/UserSession.h"
#include "protocol/CancelJobReq.h"
#include "protocol/PrintJobReq.h"
#include "settings/PrintClientPreferences.h"
#include "settings/TvrSessionInfo.h"

namespace {

const UtilsLib::LogSource Log(QStringLiteral("JobReceivedMsgHandler"));

} // namespace

JobReceivedMsgHandler::JobReceivedMsgHandler(
    int timeoutSeconds, PrintClientPreferences *preferences, UserSession *session,
    TvrSessionInfo *booking, ClientProcessingDialog *progress, PageCountValidator *pageValidator,
    EnvironmentProvider *environment, UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_timeoutSeconds(timeoutSeconds)
    , m_preferences(preferences)
    , m_session(session)
    , m_booking(booking)
    , m_progress(progress)
    , m_pageValidator(pageValidator)
    , m_environment(environment)
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> JobReceivedMsgHandler::clone() const
{
    return std::make_unique<JobReceivedMsgHandler>(*this);
}

void JobReceivedMsgHandler::resetSessionIfInstalled()
{
    if (!m_session || !m_preferences || !m_preferences->isInstalled())
        return;
    // The pages of a job sent on are cleared only once its confirmation has counted them.
    const qint32 pendingPages = m_session->lastJobPages();
    m_session->reset();
    m_session->setLastJobPages(pendingPages);
}

QString JobReceivedMsgHandler::handle(const QString &, Brindlecore::Core::Message *message)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "handle");
    const auto *job = dynamic_cast<const Brindlecore::Core::JobReceivedMsg *>(message);
    if (!job) {
        if (m_session)
            m_session->reset();
        return QString();
    }
    // On a shared workstation the next person must not see the last one's balances nor print
    // under the last one's identity.
    resetSessionIfInstalled();

    bool accepted = false;
    QString reply;
    const DialogContext context{m_session, m_timeoutSeconds};
    if (userAcceptsPageCount(context, *job) &&
        (!m_pageValidator || m_pageValidator->check(job->getTotalPages()))) {
        UserCredentials credentials;
        if (!job->isUserIdRequired() || getUserId(credentials)) {
            Brindlecore::Core::PrintJobReq request(m_preferences ? m_preferences->currentLocale()
                                                                 : QString());
            QString description =
                m_booking && m_preferences
                    ? m_booking->computerDescription(m_preferences->useSessionPcDescription())
                    : QString();
            if (description.isEmpty() && m_environment)
                description = m_environment->computerName();
            request.setWorkstationDescription(description);
            reply = request.toWireText();
            if (m_progress) {
                m_progress->setText(QString::fromLatin1(ClientProcessingDialog::SubmittingText));
                m_progress->show();
            }
            accepted = true;
        }
    }
    if (!accepted)
        reply = Brindlecore::Core::CancelJobReq().toWireText();

    if (m_session) {
        resetSessionIfInstalled();
        // Only a job sent on is counted; a cancelled one leaves the count of the last one sent.
        if (accepted)
            m_session->setLastJobPages(job->getTotalPages());
    }
    return reply;
}

bool JobReceivedMsgHandler::userAcceptsPageCount(const DialogContext &context,
                                                 const PageCountDialogModel &model)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "userAcceptsPageCount");
    PageCountDialogView view(nullptr, context, &model);
    return view.exec() == QDialog::Accepted;
}

bool JobReceivedMsgHandler::getUserId(UserCredentials &credentials)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "getUserId");
    if (!m_session)
        return false;
    if (!m_session->userId().isEmpty()) {
        credentials.setUserId(m_session->userId());
        credentials.setPin(m_session->pin());
        return true;
    }
    return UserIdDialogController::identify(credentials, m_preferences, m_booking, this, Log);
}
