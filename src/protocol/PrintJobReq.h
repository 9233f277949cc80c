#pragma once

#include "protocol/Message.h"

namespace Brindlecore::Core {

// The print request (id 5): the user confirmed the job; carries the workstation's
// description and the language in force.
class PrintJobReq : public Message
{
public:
    explicit PrintJobReq(const QString &locale = QString());

    const QString &workstationDescription() const { return m_workstationDescription; }
    void setWorkstationDescription(const QString &description)
    {
        m_workstationDescription = description;
    }
    const QString &locale() const { return m_locale; }
    std::unique_ptr<Message> clone() const override { return std::make_unique<PrintJobReq>(*this); }
    QString formatBody() const override;
    bool parse(const QString &text) override;
    int messageId() const override;

private:
    QString m_workstationDescription;
    QString m_locale;
};

} // namespace Brindlecore::Core
