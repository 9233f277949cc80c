#pragma once

#include <QList>
#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the GUI thread, so that a stop request
// from outside takes the same orderly path as the stop command. The handler only writes one
// byte to a socket pair; everything else happens in the event loop. One instance per process.
class UnixSignalNotifier : public QObject
{
    Q_OBJECT

public:
    explicit UnixSignalNotifier(const QList<int> &signalNumbers, QObject *parent = nullptr);
    ~UnixSignalNotifier() override;

    // False when the socket pair or a handler could not be installed.
    bool isActive() const { return m_active; }

signals:
    void signalReceived(int signalNumber);

private:
    void readSignals();

    QList<int> m_signalNumbers;
    QSocketNotifier *m_notifier = nullptr;
    bool m_active = false;
};
