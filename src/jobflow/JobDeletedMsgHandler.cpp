#include "jobflow/JobDeletedMsgHandler.h"

#include "core/LogSource.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/MessageBoxLease.h"
#include "protocol/EndOfSessionMsg.h"
#include "ui/MessageBoxInterface.h"

namespace {

const UtilsLib::LogSource Log(QStringLiteral("JobDeletedMsgHandler"));

} // namespace

// Keys of the message box, which translates them in "CommonDialogMessages".
const char *const JobDeletedMsgHandler::Caption =
    QT_TRANSLATE_NOOP("CommonDialogMessages", "Job Canceled");
const char *const JobDeletedMsgHandler::Text =
    QT_TRANSLATE_NOOP("CommonDialogMessages", "The document will be canceled");

JobDeletedMsgHandler::JobDeletedMsgHandler(MessageBoxInterface *messageBox,
                                           ClientProcessingDialog *progress,
                                           UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_messageBox(messageBox)
    , m_progress(progress)
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> JobDeletedMsgHandler::clone() const
{
    return std::make_unique<JobDeletedMsgHandler>(*this);
}

QString JobDeletedMsgHandler::handle(const QString &, Brindlecore::Core::Message *)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "handle");
    // Nothing is processed any more for a deleted job.
    if (m_progress)
        m_progress->hide();
    const MessageBoxLease box(m_messageBox);
    box->information(QString::fromUtf8(Caption), QString::fromUtf8(Text));
    return Brindlecore::Core::EndOfSessionMsg().toWireText();
}
