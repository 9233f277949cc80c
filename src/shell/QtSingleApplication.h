#pragma once

#include <QApplication>
#include <QLockFile>
#include <QPointer>
#include <QWidget>

#include <memory>

class QLocalServer;
class QLocalSocket;

// The application object that lets only one copy run per user: the first copy holds a lock
// file in the user's runtime folder and listens on a local socket beside it; a later copy
// finds the lock held and may pass the first a text through the socket. A copy that crashed
// leaves a stale lock, which the next start takes over.
class QtSingleApplication : public QApplication
{
    Q_OBJECT

public:
    QtSingleApplication(const QString &id, int &argc, char **argv);
    ~QtSingleApplication() override;

    QString id() const { return m_id; }
    // True when another live process with the same identifier holds the guard.
    bool isRunning();
    // Once only, and only when this copy holds the guard: starts listening for texts; with
    // activate on, every text received brings the main widget to the front.
    void initialize(bool activate = true);

    void setMainWidget(QWidget *widget) { m_mainWidget = widget; }
    QWidget *mainWidget() const { return m_mainWidget; }

    // Where the lock and the socket live (the per-user runtime folder).
    static QString runtimeFolder();

public slots:
    // Passes the text to the running copy; false when none answers within the timeout.
    bool sendMessage(const QString &message, int timeout = 5000);
    void activateMainWidget();

signals:
    void messageReceived(const QString &message);

private:
    bool acquireGuard();
    void receiveConnection();
    void readFrom(QLocalSocket *socket);

    QString m_id;
    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    bool m_ownsGuard = false;
    bool m_guardChecked = false;
    QLocalServer *m_server = nullptr;
    QPointer<QWidget> m_mainWidget;
};
