#pragma once

#include "core/TrayIcon.h"

#include <QSystemTrayIcon>

class QtTrayIcon : public TrayIcon {
    Q_OBJECT
public:
    explicit QtTrayIcon(QObject *parent = nullptr);
    bool isAvailable() const override;
    void show(const QIcon &icon, const QString &tip) override;
    void hide() override;
    bool isVisible() const override;
    void setMenu(QMenu *menu) override;

private:
    QSystemTrayIcon m_icon;
};
