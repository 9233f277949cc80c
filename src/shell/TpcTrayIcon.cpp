#include "shell/TpcTrayIcon.h"

#include "shell/OpcMainWindow.h"
#include "ui/EmbeddedImages.h"

#include <QMenu>

TpcTrayIcon::TpcTrayIcon(OpcMainWindow *mainWindow, const QString &toolTip,
                         UtilsLib::RegistryInterface *registry)
    : TrayIcon(EmbeddedImages::disconnectedTrayPixmap(), toolTip, nullptr, mainWindow)
    , m_mainWindow(mainWindow)
    , m_registry(registry)
{
    setObjectName(QStringLiteral("TpcTrayIcon"));
    m_mainWindow->setTrayIcon(this);
    auto *menu = new QMenu(m_mainWindow);
    menu->setObjectName(QStringLiteral("trayMenu"));
    setPopup(menu);
    connect(this, &TrayIcon::clicked, m_mainWindow, &QWidget::showNormal);
    connect(menu, &QMenu::aboutToShow, this, &TpcTrayIcon::redrawText);
    redrawText();
}

void TpcTrayIcon::redrawText()
{
    QMenu *menu = popup();
    if (!menu)
        return;
    menu->clear();
    menu->addAction(tr("About"), m_mainWindow, &OpcMainWindow::showAboutInfo);
    menu->addAction(tr("Show"), m_mainWindow, &QWidget::showNormal);
    menu->addAction(tr("Quit"), m_mainWindow, &OpcMainWindow::stopClient);
}

void TpcTrayIcon::connectionEstablished() {}

void TpcTrayIcon::connectionLost()
{
    setIcon(EmbeddedImages::disconnectedTrayPixmap());
}

void TpcTrayIcon::registrationComplete()
{
    if (m_registry)
        setIcon(EmbeddedImages::registeredTrayPixmap(*m_registry));
    redrawText();
}
