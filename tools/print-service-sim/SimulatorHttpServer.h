#pragma once

#include "ScenarioScript.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>

class TrafficLog;

// Serves the files of one folder over HTTP, one GET per connection, and misbehaves on the
// paths that http steps name. Every request goes to the traffic log with its path and
// outcome, so that one can see what the client fetched.
class SimulatorHttpServer : public QObject
{
    Q_OBJECT

public:
    // root must be an existing folder; nothing outside it is ever served.
    SimulatorHttpServer(TrafficLog *log, const QString &root, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    QString errorString() const { return m_server.errorString(); }
    // From now on, the paths matching an http step's pattern get its behaviour; the newest
    // matching rule wins.
    void addRule(const ScenarioStep &step);

private:
    void accept();
    void answer(QTcpSocket *socket, const QByteArray &head);
    // The file the path names below the root, or nothing.
    QString fileFor(const QString &path) const;

    QTcpServer m_server;
    TrafficLog *m_log;
    QString m_root;
    QList<std::pair<QRegularExpression, ScenarioStep::HttpBehaviour>> m_rules;
};
