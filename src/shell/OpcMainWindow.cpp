#include "shell/OpcMainWindow.h"

#include "core/VersionInfoInterface.h"
#include "shell/OpcMainWindowControllerInterface.h"
#include "shell/TpcTrayIcon.h"
#include "ui/AboutInfoDialog.h"
#include "ui/CopyrightLabel.h"
#include "ui/DialogSettings.h"
#include "ui/EmbeddedImages.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSystemTrayIcon>

OpcMainWindow::OpcMainWindow(bool installed)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , m_installed(installed)
{
    setObjectName(QStringLiteral("Thin Client Main Window"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setFont(QFont(QStringLiteral("Verdana"), 10));
    setWindowIcon(EmbeddedImages::disconnectedTrayPixmap());

    auto *column = new QVBoxLayout(this);
    m_logoLabel = new QLabel(this);
    m_logoLabel->setObjectName(QStringLiteral("logo"));
    m_logoLabel->setPixmap(EmbeddedImages::logoPixmap());
    m_logoLabel->setAlignment(Qt::AlignCenter);
    column->addWidget(m_logoLabel);
    column->addSpacing(10);

    auto *row = new QHBoxLayout;
    row->addSpacing(20);
    m_stopButton = new QPushButton(this);
    m_stopButton->setObjectName(QStringLiteral("mainWindow_OkBtn"));
    m_stopButton->setDefault(true);
    connect(m_stopButton, &QPushButton::clicked, this, &OpcMainWindow::stopClient);
    row->addWidget(m_stopButton);
    row->addSpacing(20);
    column->addLayout(row);
    column->addSpacing(10);

    m_aboutLabel = new QLabel(this);
    m_aboutLabel->setObjectName(QStringLiteral("aboutLabel"));
    QPalette link = m_aboutLabel->palette();
    link.setColor(QPalette::WindowText, Qt::blue);
    m_aboutLabel->setPalette(link);
    QFont underlined = m_aboutLabel->font();
    underlined.setUnderline(true);
    m_aboutLabel->setFont(underlined);
    m_aboutLabel->setCursor(Qt::PointingHandCursor);
    m_aboutLabel->setAlignment(Qt::AlignCenter);
    // Keyboard users reach About through the focus chain and open it with Space or Return.
    m_aboutLabel->setFocusPolicy(Qt::StrongFocus);
    m_aboutLabel->installEventFilter(this);
    column->addWidget(m_aboutLabel);

    m_noticeLabel = new CopyrightLabel(this, DialogSettings::shared().versionInfo());
    m_noticeLabel->setMinimumWidth(280);
    column->addWidget(m_noticeLabel);
    column->addSpacing(10);

    retranslate();
    adjustSize();
}

void OpcMainWindow::setController(OpcMainWindowControllerInterface *controller)
{
    m_controller = controller;
}

void OpcMainWindow::setTrayIcon(TpcTrayIcon *trayIcon)
{
    m_trayIcon = trayIcon;
}

void OpcMainWindow::retranslate()
{
    setWindowTitle(QStringLiteral("Ondrel™ Print Client"));
    m_aboutLabel->setText(tr("About Ondrel"));
    m_aboutLabel->setAccessibleName(m_aboutLabel->text());
    m_stopButton->setText(tr("Stop Print Client"));
    m_logoLabel->setAccessibleName(tr("Ondrel logo"));
    if (m_trayIcon)
        m_trayIcon->redrawText();
}

void OpcMainWindow::showAboutInfo()
{
    {
        AboutInfoDialog about(this);
        about.exec();
    }
    // The user may have switched the language in the about box.
    retranslate();
}

bool OpcMainWindow::stopClient()
{
    return stop();
}

bool OpcMainWindow::stop()
{
    if (!m_controller || !m_controller->requestStop())
        return false;
    QCoreApplication::exit(0);
    return true;
}

bool OpcMainWindow::trayShown() const
{
    return m_installed && m_trayIcon && QSystemTrayIcon::isSystemTrayAvailable();
}

bool OpcMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_aboutLabel) {
        const bool released = event->type() == QEvent::MouseButtonRelease;
        const bool keyed = event->type() == QEvent::KeyPress &&
                           (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space ||
                            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return);
        if (released || keyed) {
            showAboutInfo();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void OpcMainWindow::showEvent(QShowEvent *event)
{
    retranslate();
    activateWindow();
    raise();
    QWidget::showEvent(event);
}

void OpcMainWindow::changeEvent(QEvent *event)
{
    // With a tray icon to bring it back, a minimised window leaves the taskbar; without one it
    // stays minimised, so that About and Stop can always be found.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && trayShown())
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    QWidget::changeEvent(event);
}

void OpcMainWindow::closeEvent(QCloseEvent *event)
{
    // Only the user's close is judged here; the application closes its windows when it ends,
    // and refusing that would keep the client running after a stop or a session's end.
    if (!event->spontaneous()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    if (m_controller && m_controller->requiresPassword()) {
        showMinimized();
        return;
    }
    // Closing a client that needs no password stops it, as the stop button does.
    stop();
}
