#include "jobflow/PrintJobConfirmationMsgHandler.h"

#include "core/LogSource.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/JobConfirmationDialogController.h"
#include "jobflow/JobConfirmationDialogView.h"
#include "jobflow/PrintJobConfirmationMsg.h"
#include "jobflow/UserSession.h"
#include "protocol/EndOfSessionMsg.h"
#include "settings/PrintClientPreferences.h"
#include "settings/TvrSessionInfo.h"

namespace {

const UtilsLib::LogSource Log(QStringLiteral("PrintJobConfirmationMsgHandler"));

} // namespace

PrintJobConfirmationMsgHandler::PrintJobConfirmationMsgHandler(PrintClientPreferences *preferences,
                                                               UserSession *session,
                                                               TvrSessionInfo *booking,
                                                               ClientProcessingDialog *progress,
                                                               UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_preferences(preferences)
    , m_session(session)
    , m_booking(booking)
    , m_progress(progress)
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> PrintJobConfirmationMsgHandler::clone() const
{
    return std::make_unique<PrintJobConfirmationMsgHandler>(*this);
}

QString PrintJobConfirmationMsgHandler::handle(const QString &, Brindlecore::Core::Message *message)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "handle");
    const auto *confirmation =
        dynamic_cast<const Brindlecore::Core::PrintJobConfirmationMsg *>(message);
    if (confirmation)
        Log(this, "handle", UtilsLib::LogApplication,
            QStringLiteral("Handling PrintJobConfirmationMsg - %1")
                .arg(confirmation->formatBody()));
    if (m_session && m_booking && m_preferences && m_preferences->tavrinIntegration() &&
        m_booking->isInSession()) {
        m_booking->addPagesPrinted(m_session->lastJobPages());
        // Counted once: a repeated confirmation must not count the same job again.
        m_session->setLastJobPages(0);
    }
    if (m_progress)
        m_progress->hide();
    if (confirmation && confirmation->showDialog()) {
        JobConfirmationDialogView view;
        JobConfirmationDialogController controller(
            &view,
            {confirmation->jobNumber(), confirmation->expireTime(), confirmation->pickupList()});
        controller.execDialog();
    }
    return Brindlecore::Core::EndOfSessionMsg().toWireText();
}
