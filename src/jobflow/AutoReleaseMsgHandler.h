#pragma once

#include "protocol/MessageHandler.h"

#include <QObject>

class ClientProcessingDialog;
class MessageBoxInterface;

namespace Brindlecore::Core {
class AutoReleaseMsg;
}

// Reports a release the Print Service made by itself (id 62): "Job Released" with the printer
// family, the pickup location and what was paid from which account, or "Error" with the Print
// Service's text and any refund due. Always ends the session. What the Print Service sent is
// shown as text, never as markup.
class AutoReleaseMsgHandler
    : public QObject
    , public Brindlecore::Core::MessageHandler
{
    Q_OBJECT

public:
    // Nothing is owned; both may be null (without a message box each report gets a dialog of
    // its own).
    AutoReleaseMsgHandler(MessageBoxInterface *messageBox, ClientProcessingDialog *progress,
                          UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;

    // The rich texts the message box is given.
    static QString releasedText(const Brindlecore::Core::AutoReleaseMsg &message);
    static QString errorText(const Brindlecore::Core::AutoReleaseMsg &message);
    // Empty when no amount was paid; otherwise a heading and one row per letter of the
    // payment order whose account has an amount.
    static QString paymentDetails(const Brindlecore::Core::AutoReleaseMsg &message);

private:
    MessageBoxInterface *m_messageBox;
    ClientProcessingDialog *m_progress;
};
