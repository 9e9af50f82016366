#pragma once

#include <QWidget>

class QAction;
class QMenu;

// Carries the two pop-up menus: the tray menu and the record list's menu. Never shown itself;
// the main window connects the items to its commands.
class FrmTrayMenu : public QWidget {
    Q_OBJECT
public:
    explicit FrmTrayMenu(QWidget *parent = nullptr);

    QMenu *mnuTray() const { return m_mnuTray; }
    QMenu *listView() const { return m_listView; }
    // An item of either menu by its name, for instance "mnuLock" or "mnuCopyPwd".
    QAction *item(const char *name) const;

private:
    QMenu *m_mnuTray;
    QMenu *m_listView;
};
