#pragma once

#include "protocol/MessageHandler.h"

class ClientProcessingDialog;

// Shows the progress window with "Please Wait... Processing Job" while the Print Service spools
// a job (id 60), without waiting, and acknowledges.
class ShowSpoolingDialogMsgHandler : public Brindlecore::Core::MessageHandler
{
public:
    // The window is not owned and may be null.
    explicit ShowSpoolingDialogMsgHandler(ClientProcessingDialog *dialog,
                                          UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;

private:
    ClientProcessingDialog *m_dialog;
};
