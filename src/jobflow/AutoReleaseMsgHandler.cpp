#include "jobflow/AutoReleaseMsgHandler.h"

#include "core/LogSource.h"
#include "jobflow/AutoReleaseMsg.h"
#include "jobflow/ClientProcessingDialog.h"
#include "jobflow/MessageBoxLease.h"
#include "jobflow/ServiceText.h"
#include "protocol/EndOfSessionMsg.h"
#include "ui/EmbeddedImages.h"
#include "ui/MessageBoxInterface.h"

#include <QCoreApplication>
#include <QLocale>

using Brindlecore::Core::AutoReleaseMsg;

namespace {

const UtilsLib::LogSource Log(QStringLiteral("AutoReleaseMsgHandler"));
const char *const ErrorCaption = "Error";

} // namespace

AutoReleaseMsgHandler::AutoReleaseMsgHandler(MessageBoxInterface *messageBox,
                                             ClientProcessingDialog *progress,
                                             UtilsLib::Observer *observer)
    : MessageHandler(observer)
    , m_messageBox(messageBox)
    , m_progress(progress)
{}

std::unique_ptr<Brindlecore::Core::MessageHandler> AutoReleaseMsgHandler::clone() const
{
    auto copy = std::make_unique<AutoReleaseMsgHandler>(m_messageBox, m_progress);
    // The object part cannot be copied; the observers can.
    static_cast<MessageHandler &>(*copy) = *this;
    return copy;
}

QString AutoReleaseMsgHandler::paymentDetails(const AutoReleaseMsg &message)
{
    if (message.allocationAmount().isEmpty() && message.depositAmount().isEmpty() &&
        message.creditAmount().isEmpty())
        return QString();
    QString rows;
    const auto addRow = [&rows](const QString &label, const QString &amount) {
        if (!amount.isEmpty())
            rows += QLatin1String("<tr><td>") + label + QLatin1String("</td><td>") +
                    ServiceText::escaped(amount) + QLatin1String("</td></tr>");
    };
    for (const QChar letter : message.paymentOrder()) {
        if (letter == u'A')
            addRow(tr("Paid From Allocation Account"), message.allocationAmount());
        else if (letter == u'C')
            addRow(tr("Paid From Credit Account"), message.creditAmount());
        else if (letter == u'D')
            addRow(tr("Paid From Deposit Account"), message.depositAmount());
    }
    return QLatin1String("<br><br>") + tr("Payment Details:") + QLatin1String("<table>") + rows +
           QLatin1String("</table>");
}

QString AutoReleaseMsgHandler::releasedText(const AutoReleaseMsg &message)
{
    return ServiceText::rich(
        tr("Your job has been released.") + QLatin1String("<br><br>") + tr("Printer Family:") +
        QLatin1Char(' ') + ServiceText::escaped(message.printerFamily()) +
        QLatin1String("<br><br>") + tr("Pickup Location:") + QLatin1Char(' ') +
        ServiceText::escaped(message.pickupLocation()) + paymentDetails(message));
}

QString AutoReleaseMsgHandler::errorText(const AutoReleaseMsg &message)
{
    const qint64 cents = message.refundAmount().toLongLong();
    QString text = ServiceText::escaped(message.errorText());
    if (!message.refundId().isEmpty() && cents >= 1) {
        // The product's balances are in dollars; the number is written the way the user's
        // locale writes amounts.
        const QString amount = QLocale().toCurrencyString(cents / 100.0, QStringLiteral("$"), 2);
        const QString notice =
            QCoreApplication::translate("ReleaseConfirmationDialog",
                                        "You are due a refund of %1.  The Refund Id is %2.  "
                                        "Please see staff for additional assistance.")
                .arg(amount, ServiceText::escaped(message.refundId()));
        text = QStringLiteral("%1<br><br>%2").arg(text, notice);
    }
    return ServiceText::rich(text);
}

QString AutoReleaseMsgHandler::handle(const QString &, Brindlecore::Core::Message *message)
{
    const UtilsLib::TraceScope trace = Log.trace(this, "handle");
    if (m_progress)
        m_progress->hide();
    if (const auto *release = dynamic_cast<const AutoReleaseMsg *>(message)) {
        const MessageBoxLease box(m_messageBox);
        if (release->released()) {
            Log(this, "handle", UtilsLib::LogInfo,
                QStringLiteral("Job released to %1").arg(release->printerFamily()));
            box->show(tr("Job Released"), releasedText(*release), EmbeddedImages::printOkPixmap());
        } else {
            Log(this, "handle", UtilsLib::LogInfo,
                QStringLiteral("Job not released: %1").arg(release->errorText()));
            box->critical(QString::fromLatin1(ErrorCaption), errorText(*release));
        }
    }
    return Brindlecore::Core::EndOfSessionMsg().toWireText();
}
