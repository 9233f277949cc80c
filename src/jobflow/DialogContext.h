#pragma once

class UserSession;

// What the job-received handler hands the cost dialog for one job.
struct DialogContext
{
    // May be null.
    UserSession *session = nullptr;
    int timeoutSeconds = 0;
};
