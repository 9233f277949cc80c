#include "jobflow/MessageBoxLease.h"

#include "ui/PrintClientDialog.h"

MessageBoxLease::MessageBoxLease(MessageBoxInterface *given)
    : m_own(given ? nullptr : std::make_unique<PrintClientDialog>())
    , m_box(given ? given : m_own.get())
{}

MessageBoxLease::~MessageBoxLease() = default;
