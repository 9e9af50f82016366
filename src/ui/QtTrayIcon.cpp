#include "ui/QtTrayIcon.h"

#include <QMenu>

QtTrayIcon::QtTrayIcon(QObject *parent) : TrayIcon(parent) {
    connect(&m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    emit leftClicked();
            });
}

bool QtTrayIcon::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::show(const QIcon &icon, const QString &tip) {
    m_icon.setIcon(icon);
    m_icon.setToolTip(tip);
    m_icon.show();
}

void QtTrayIcon::hide() {
    m_icon.hide();
}

bool QtTrayIcon::isVisible() const {
    return m_icon.isVisible();
}

void QtTrayIcon::setMenu(QMenu *menu) {
    m_icon.setContextMenu(menu);
}
