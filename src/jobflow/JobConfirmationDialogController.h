#pragma once

#include "jobflow/JobConfirmationData.h"

#include <QObject>

class JobConfirmationDialogView;

// Fills the "Print Complete" dialog from a confirmed job and runs it.
class JobConfirmationDialogController : public QObject
{
    Q_OBJECT

public:
    // The view is not owned; it closes after the dialogs' shared time-out.
    JobConfirmationDialogController(JobConfirmationDialogView *view, JobConfirmationData data);

    void fillView();
    // The expire time in the workstation's date and time format; a time the client cannot
    // read is shown as it was sent.
    static QString expireTimeText(const QString &isoTime);

public slots:
    int execDialog();

private:
    JobConfirmationDialogView *m_view;
    JobConfirmationData m_data;
};
