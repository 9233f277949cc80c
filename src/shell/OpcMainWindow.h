#pragma once

#include "shell/OpcMainWindowInterface.h"

#include <QWidget>

class CopyrightLabel;
class QLabel;
class QPushButton;
class TpcTrayIcon;

// The client's one top-level window: the product logo, "Stop Print Client", an "About
// Ondrel" link and the rotating notice line. An installed client with a tray icon keeps it
// hidden (minimising hides it); without a tray it stays reachable, minimised at worst.
class OpcMainWindow
    : public QWidget
    , public OpcMainWindowInterface
{
    Q_OBJECT

public:
    explicit OpcMainWindow(bool installed);

    void setController(OpcMainWindowControllerInterface *controller) override;
    bool stop() override;
    // Set by the tray icon; may stay null.
    void setTrayIcon(TpcTrayIcon *trayIcon);
    void retranslate();

public slots:
    void showAboutInfo();
    bool stopClient();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // True while a tray icon shows the client on the desktop.
    bool trayShown() const;

    OpcMainWindowControllerInterface *m_controller = nullptr;
    QLabel *m_aboutLabel = nullptr;
    bool m_installed;
    TpcTrayIcon *m_trayIcon = nullptr;
    QLabel *m_logoLabel = nullptr;
    QPushButton *m_stopButton = nullptr;
    CopyrightLabel *m_noticeLabel = nullptr;
};
