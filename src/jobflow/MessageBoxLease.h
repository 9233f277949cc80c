#pragma once

#include <memory>

class MessageBoxInterface;
class PrintClientDialog;

// The message box a handler was given, or, when it was given none, a print-client dialog made
// for one call and destroyed with the lease.
class MessageBoxLease
{
public:
    explicit MessageBoxLease(MessageBoxInterface *given);
    ~MessageBoxLease();

    MessageBoxLease(const MessageBoxLease &) = delete;
    MessageBoxLease &operator=(const MessageBoxLease &) = delete;

    MessageBoxInterface *operator->() const { return m_box; }

private:
    std::unique_ptr<PrintClientDialog> m_own;
    MessageBoxInterface *m_box;
};
