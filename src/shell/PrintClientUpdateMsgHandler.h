#pragma once

#include "protocol/MessageHandler.h"

#include <functional>

class ClientProcessingDialog;
class MessageBoxInterface;
class PrintClientPreferences;
class ProcessManagerInterface;
class VersionInfoInterface;

// Answers the Print Service's required version (id 64). A client at least that new is
// acknowledged; an older one tells the user: a client that is not installed asks for the
// latest one and ends, an installed one cannot print, or, when the Print Service names a
// download, offers to fetch and run a temporary client. GUI thread only.
class PrintClientUpdateMsgHandler : public Brindlecore::Core::MessageHandler
{
public:
    // Nothing is owned; clones share them. The message box and the progress window may be
    // null (without a message box each notice gets a dialog of its own).
    PrintClientUpdateMsgHandler(PrintClientPreferences *preferences,
                                MessageBoxInterface *messageBox, ClientProcessingDialog *progress,
                                ProcessManagerInterface *processes,
                                const VersionInfoInterface *version,
                                UtilsLib::Observer *observer = nullptr);

    QString handle(const QString &source, Brindlecore::Core::Message *message) override;
    std::unique_ptr<Brindlecore::Core::MessageHandler> clone() const override;

    // Whether a client that is not installed ends after its notice; true unless set.
    void setQuitWhenNotInstalled(bool quit) { m_quitWhenNotInstalled = quit; }
    // How it ends (QCoreApplication::quit unless set); called from the event loop once the
    // reply has been written, never inside handle().
    void setQuit(std::function<void()> quit) { m_quit = std::move(quit); }

    // -1, 0 or 1 as a is older than, the same as or newer than b. Versions are numbers
    // separated by dots; a missing number is 0, so 4.2 equals 4.2.0, and a piece that is not a
    // number of decimal digits reads 0. Numbers of any length compare exactly.
    static int compareVersions(const QString &a, const QString &b);
    // The path as one word of QProcess::splitCommand, which the process manager splits the
    // first part of a command with: quoted, so that a folder with blanks stays one word.
    static QString commandWord(const QString &path);

    // Keys of the message box, which translates them in "CommonDialogMessages".
    static const char *const ErrorCaption;
    static const char *const QuestionCaption;
    static const char *const NotInstalledText;
    static const char *const UnableToPrintText;
    static const char *const DownloadQuestionText;
    static const char *const DownloadFailedText;

private:
    PrintClientPreferences *m_preferences;
    MessageBoxInterface *m_messageBox;
    ClientProcessingDialog *m_progress;
    ProcessManagerInterface *m_processes;
    const VersionInfoInterface *m_version;
    bool m_quitWhenNotInstalled = true;
    std::function<void()> m_quit;
};
