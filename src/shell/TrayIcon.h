#pragma once

#include <QObject>
#include <QPixmap>
#include <QPoint>
#include <QString>

class QMenu;
class QSystemTrayIcon;

// A notification-area icon with a picture, a tool tip and a menu, on the desktop's tray (the
// StatusNotifierItem protocol or the XEmbed tray, whichever the desktop offers). A left click
// emits clicked(), a double click doubleClicked(), both with the pointer's screen position.
class TrayIcon : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QPixmap icon READ icon WRITE setIcon)
    Q_PROPERTY(QString toolTip READ toolTip WRITE setToolTip)

public:
    explicit TrayIcon(QObject *parent = nullptr);
    TrayIcon(const QPixmap &icon, const QString &toolTip, QMenu *popup, QObject *parent = nullptr);
    ~TrayIcon() override;

    // Not owned.
    void setPopup(QMenu *popup);
    QMenu *popup() const { return m_popup; }
    QPixmap icon() const { return m_icon; }
    QString toolTip() const { return m_toolTip; }
    bool isShown() const;

public slots:
    void setIcon(const QPixmap &icon);
    void setToolTip(const QString &toolTip);
    void show();
    void hide();

signals:
    void clicked(const QPoint &position);
    void doubleClicked(const QPoint &position);

private:
    QMenu *m_popup = nullptr;
    QPixmap m_icon;
    QString m_toolTip;
    QSystemTrayIcon *m_tray = nullptr;
};
