#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A cupsd of a test program's own: its ServerRoot, state, spool and logs in a temporary folder,
// a Unix socket, and optionally a TCP port on a loopback address (to play a print server).
// It never touches the machine's spooler and is stopped (killed with the test program, too)
// when the object goes. Works as root and as an ordinary user.
class PrivateCupsd
{
public:
    struct Options
    {
        // Also listen on this loopback address ("127.0.0.2"); empty: the Unix socket only.
        QString listenAddress;
        // False puts the caller outside the SystemGroup, so administration is refused.
        bool callerIsAdmin = true;
    };

    PrivateCupsd();
    ~PrivateCupsd();
    PrivateCupsd(const PrivateCupsd &) = delete;
    PrivateCupsd &operator=(const PrivateCupsd &) = delete;

    // Starts (or restarts, keeping its queues) the daemon and waits until it answers; false
    // with errorText() when cupsd is missing or does not come up.
    bool start(const Options &options);
    bool start() { return start(Options()); }
    void stop();
    QString errorText() const { return m_error; }

    QString socketPath() const { return m_root.filePath("cups.sock"); }
    QString serverRoot() const { return m_root.path(); }
    // The TCP port when listening on an address, else 0.
    quint16 port() const { return m_port; }
    // An empty home folder: the user's lpoptions (~/.cups) of the tests live there.
    QString homePath() const { return m_root.filePath("home"); }

    // CUPS_SERVER, CUPS_SERVERROOT, CUPS_STATEDIR and HOME for this daemon, LPDEST and PRINTER
    // unset: for this process (libcups reads them per thread) and for the tools run below.
    void exportEnvironment() const;
    QProcessEnvironment environment() const;

    // Runs lpadmin, lpoptions, lpstat ... against this daemon; false with errorText() when the
    // tool fails. The output goes to *output when given.
    bool run(const QString &program, const QStringList &arguments, QString *output = nullptr);
    bool addQueue(const QString &name, const QString &deviceUri, const QString &info,
                  bool shared = false);
    // Deletes every queue and the user's lpoptions.
    bool clear();

private:
    bool writeConfiguration(const Options &options);
    bool waitUntilAnswering();
    QString logTail() const;

    QTemporaryDir m_root;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    QString m_error;
};
