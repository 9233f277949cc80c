#include "jobflow/ShowSpoolingDialogMsgHandler.h"

#include "core/LogSource.h"
#include "jobflow/ClientProcessingDialog.h"
#include "protocol/Message.h"
#include "protocol/OpcAckMsg.h"

namespace {

const UtilsLib::LogSource Log(QStringLiteral("ShowSpoolingDialogMsgHandler"));

} // namespace

ShowSpoolingDialogMsgHandler::ShowSpoolingDialogMsgHandler(ClientProcessingDialog *dialog,
                                                           UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_dialog(dialog)
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> ShowSpoolingDialogMsgHandler::clone() const
{
    return std::make_unique<ShowSpoolingDialogMsgHandler>(*this);
}

QString ShowSpoolingDialogMsgHandler::handle(const QString &, Brindlecore::Core::Message *message)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "handle");
    if (message) {
        Log(this, "handle", UtilsLib::LogApplication,
            QStringLiteral("Handling ShowSpoolingDialogMsg - %1").arg(message->formatBody()));
        if (m_dialog) {
            m_dialog->setText(QString::fromLatin1(ClientProcessingDialog::ProcessingText));
            m_dialog->show();
        }
    }
    return Brindlecore::Core::OpcAckMsg().toWireText();
}
