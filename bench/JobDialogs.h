#pragma once

#include "SpawnedProcess.h"
#include "nulpeer.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

#include <memory>

class ClientHarness;
class XServerWatch;

// What the dialog parts share: the texts of a job that opens the cost dialog and of its
// confirmation, one dialog answered by the robot and timed, and the bare Qt program that
// shows dialogs of the same content as the floor.
namespace JobDialogs {

// A job of three pages at $0.10 (the cost dialog, answered "5|..." once accepted).
inline constexpr const char *CostText = "4|20250201090503|A3|B$0.10|C0|D0|E$0.30|G0|H0";
inline constexpr const char *CostTitle = "Print this job?";
inline constexpr const char *ProgressText = "60|20250201090503";
inline constexpr const char *ConfirmationTitle = "Print Complete";
// The job's confirmation, with or without its dialog; answered "86|...".
QByteArray confirmationText(int jobNumber, bool showDialog);

// One end of a connection that carries NUL-framed texts.
struct Link
{
    int fd = -1;
    nul_reader *reader = nullptr;
};

struct Timing
{
    double toDialogMs = 0; // the text sent to the window mapped on the X server
    double answerMs = 0;   // Return pressed in it to the reply read
};

// Starts the harness's private world with an X server and opens the watch on that server.
// False with error set.
bool startXWorld(ClientHarness &harness, XServerWatch &watch, QString &error);

// Sends text, waits for the window whose title contains title, presses Return in it and reads
// the reply, which must start with replyPrefix. False with error set.
bool answerDialog(XServerWatch &watch, const Link &link, const char *text, const char *title,
                  const char *replyPrefix, Timing &timing, QString &error);
// Sends text and reads a reply that must start with replyPrefix.
bool exchange(const Link &link, const char *text, const char *replyPrefix, QString &error);

// The bare Qt Widgets program (ondtpc-bench-jobdialog), connected to a listener of the driver.
class BareProgram
{
public:
    BareProgram();
    ~BareProgram();
    bool start(const QString &address, const QProcessEnvironment &environment, QString &error);
    Link link() const { return {m_fd, m_reader.get()}; }

private:
    SpawnedProcess m_process;
    int m_fd = -1;
    std::unique_ptr<nul_reader> m_reader;
};

} // namespace JobDialogs
