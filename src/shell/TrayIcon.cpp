#include "shell/TrayIcon.h"

#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(QObject *parent)
    : TrayIcon(QPixmap(), QString(), nullptr, parent)
{}

TrayIcon::TrayIcon(const QPixmap &icon, const QString &toolTip, QMenu *popup, QObject *parent)
    : QObject(parent)
    , m_popup(popup)
    , m_icon(icon)
    , m_toolTip(toolTip)
    , m_tray(new QSystemTrayIcon(this))
{
    setObjectName(QStringLiteral("TrayIcon"));
    m_tray->setIcon(QIcon(m_icon));
    m_tray->setToolTip(m_toolTip);
    m_tray->setContextMenu(m_popup);
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    emit clicked(QCursor::pos());
                else if (reason == QSystemTrayIcon::DoubleClick)
                    emit doubleClicked(QCursor::pos());
            });
}

TrayIcon::~TrayIcon()
{
    m_tray->hide();
}

void TrayIcon::setPopup(QMenu *popup)
{
    m_popup = popup;
    m_tray->setContextMenu(popup);
}

bool TrayIcon::isShown() const
{
    return m_tray->isVisible();
}

void TrayIcon::setIcon(const QPixmap &icon)
{
    m_icon = icon;
    m_tray->setIcon(QIcon(icon));
}

void TrayIcon::setToolTip(const QString &toolTip)
{
    m_toolTip = toolTip;
    m_tray->setToolTip(toolTip);
}

void TrayIcon::show()
{
    m_tray->show();
}

void TrayIcon::hide()
{
    m_tray->hide();
}
