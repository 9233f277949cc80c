#pragma once

#include <QString>

namespace UtilsLib {
class LogSource;
class Observable;
} // namespace UtilsLib

class PrintClientPreferences;
class TvrSessionInfo;
class UserCredentials;
class UserIdDialogView;

// Obtains who is printing for one identification, from the sources that need no typing first:
// the user-ID file the preferences name, then the computer-booking session, and only then the
// "User Identification" dialog. A value that could not travel in a reply (a "|" or a control
// character) counts as no value; an identity without the PIN the request needs is not used as
// it is, the dialog asks for the PIN with the user ID filled in.
class UserIdDialogController
{
public:
    // None is owned; the session may be null (no booking product).
    UserIdDialogController(UserCredentials *credentials, PrintClientPreferences *preferences,
                           TvrSessionInfo *session);
    ~UserIdDialogController();

    UserIdDialogController(const UserIdDialogController &) = delete;
    UserIdDialogController &operator=(const UserIdDialogController &) = delete;

    // Attaches the view (not owned) and gives its fields the preferences' key filters.
    void setView(UserIdDialogView *view);

    bool isPinRequired() const;
    bool areGuestsAllowed() const;
    bool isUserIdMasked() const;
    // What the credentials already hold, shown in the field when the dialog opens.
    QString presetUserId() const;
    void storeUserId();
    void storePin();

    // True when an identity was obtained; the credentials then hold it.
    bool run();

    // Logs the preferences' key filters through the caller's log source (at Verbose), then runs
    // the sources and, when they give nothing, the dialog; true when an identity was obtained.
    static bool identify(UserCredentials &credentials, PrintClientPreferences *preferences,
                         TvrSessionInfo *session, const UtilsLib::Observable *caller,
                         const UtilsLib::LogSource &log);

    // False for a text holding "|" or a control character, which would break the reply's
    // fields.
    static bool fitsTheWire(const QString &text);

private:
    bool takeAutomatic(const QString &userId, const QString &pin);
    QString userIdFromFile() const;

    UserCredentials *m_credentials;
    PrintClientPreferences *m_preferences;
    TvrSessionInfo *m_session;
    UserIdDialogView *m_view = nullptr;
};
