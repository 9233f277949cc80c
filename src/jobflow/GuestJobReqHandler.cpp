#include "jobflow/GuestJobReqHandler.h"

#include "core/LogSource.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/MessageBoxLease.h"
#include "jobflow/UserSession.h"
#include "protocol/GuestJobMsg.h"
#include "settings/PrintClientPreferences.h"
#include "ui/MessageBoxInterface.h"

namespace {

const UtilsLib::LogSource Log(QStringLiteral("GuestJobReqHandler"));

} // namespace

// Keys of the message box, which translates them in "CommonDialogMessages".
const char *const GuestJobReqHandler::Caption =
    QT_TRANSLATE_NOOP("CommonDialogMessages", "Job Status Change");
const char *const GuestJobReqHandler::Question = QT_TRANSLATE_NOOP(
    "CommonDialogMessages",
    "Your Identification Information shows you are either an inactive or invalid user. Do you "
    "wish to have your job sent as a GUEST job?");

GuestJobReqHandler::GuestJobReqHandler(PrintClientPreferences *preferences, UserSession *session,
                                       MessageBoxInterface *messageBox,
                                       ClientProcessingDialog *progress,
                                       UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_session(session)
    , m_messageBox(messageBox)
    , m_progress(progress)
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> GuestJobReqHandler::clone() const
{
    return std::make_unique<GuestJobReqHandler>(*this);
}

QString GuestJobReqHandler::handle(const QString &, Brindlecore::Core::Message *)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "handle");
    // The progress window stays on top; the question must not open behind it.
    if (m_progress)
        m_progress->hide();
    Brindlecore::Core::GuestJobMsg reply(false);
    const MessageBoxLease box(m_messageBox);
    if (box->question(QString::fromUtf8(Caption), QString::fromUtf8(Question))) {
        reply.setAnswer(true);
    } else if (m_session && m_preferences && m_preferences->isInstalled()) {
        m_session->reset();
    }
    Log(this, "handle", UtilsLib::LogInfo,
        reply.answer() ? QStringLiteral("The job goes on as a guest job")
                       : QStringLiteral("The job does not go on as a guest job"));
    return reply.toWireText();
}
