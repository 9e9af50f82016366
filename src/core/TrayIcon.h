#pragma once

#include <QObject>

class QIcon;
class QMenu;

// The notification-area icon, behind an interface so that tests run without a tray.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Whether the desktop has a notification area at all.
    virtual bool isAvailable() const = 0;
    virtual void show(const QIcon &icon, const QString &tip) = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    // The menu a right click opens.
    virtual void setMenu(QMenu *menu) = 0;

signals:
    void leftClicked();
};
