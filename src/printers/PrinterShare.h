#pragma once

#include <QString>

#include <optional>

// A shared printer named the way users and the command line name it: \\server\share,
// //server/share, or an ipp:// or ipps:// address. The spooler knows a connection to it as a
// local queue whose name is derived from server and share, so the same name always maps to the
// same queue; the server may carry a port (\\host:8631\share).
class PrinterShare
{
public:
    // Empty when the text names no share on a server (a local queue name, for instance).
    static std::optional<PrinterShare> parse(const QString &printerName);
    // The queue the spooler keeps for a share path; any other name is a queue name already.
    static QString queueNameFor(const QString &printerName);

    const QString &host() const { return m_host; }
    int port() const { return m_port; }
    const QString &share() const { return m_share; }
    // "server_share" ("server:port_share" with a port other than the standard one); characters
    // the spooler takes as separators (\, /, @ and blanks) become underscores.
    QString queueName() const;
    // Where the connection queue sends its jobs: ipp(s)://server[:port]/printers/share.
    QString deviceUri() const;

private:
    PrinterShare(const QString &scheme, const QString &host, int port, const QString &share);

    QString m_scheme;
    QString m_host;
    int m_port = -1;
    QString m_share;
};
