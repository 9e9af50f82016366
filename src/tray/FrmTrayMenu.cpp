#include "tray/FrmTrayMenu.h"

#include <QMenu>

namespace {
void addItems(QMenu *menu, std::initializer_list<std::pair<const char *, QString>> items) {
    for (const auto &[name, caption] : items) {
        QAction *action = caption.isEmpty() ? menu->addSeparator() : menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
    }
}
} // namespace

FrmTrayMenu::FrmTrayMenu(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrmTrayMenu"));
    setWindowTitle(tr("系统托盘菜单"));
    // It only carries the menus; shown with its parent it would lie over the parent's controls.
    hide();

    m_mnuTray = new QMenu(tr("托盘"), this);
    m_mnuTray->setObjectName(QStringLiteral("mnuTray"));
    addItems(m_mnuTray, {{"mnuShowmain", tr("显示主界面(&S)")},
                         {"mnuline1", {}},
                         {"mnuLock", tr("锁定密码管理器(&L)")},
                         {"mnuline4", {}},
                         {"mnuSet", tr("设置(&S)")},
                         {"mnuline2", {}},
                         {"mnuHelp", tr("帮助(&H)")},
                         {"mnuAbout", tr("关于(&A)")},
                         {"mnuline3", {}},
                         {"mnuQuit", tr("退出(&Q)")}});

    m_listView = new QMenu(tr("右键菜单"), this);
    m_listView->setObjectName(QStringLiteral("ListView"));
    addItems(m_listView, {{"mnuOpenUrl", tr("打开网页(&O)")},
                          {"line4", {}},
                          {"mnuCopyShortcut", tr("复制+快捷键(&C)")},
                          {"mnuCopyUser", tr("复制用户名(&U)")},
                          {"mnuCopyPwd", tr("复制密码(&P)")},
                          {"mnuCopyUrl", tr("复制网址(&W)")},
                          {"line5", {}},
                          {"mnuLook", tr("查看资料(&L)")},
                          {"mnuAdd", tr("添加资料(&A)")},
                          {"mnuEdit", tr("修改资料(&E)")},
                          {"mnuDel", tr("删除资料(&D)")}});
    QAction *open = item("mnuOpenUrl");
    QFont bold = open->font();
    bold.setBold(true);
    open->setFont(bold);
    m_listView->setDefaultAction(open);
}

QAction *FrmTrayMenu::item(const char *name) const {
    const QString objectName = QString::fromLatin1(name);
    for (QMenu *menu : {m_mnuTray, m_listView})
        for (QAction *action : menu->actions())
            if (action->objectName() == objectName)
                return action;
    return nullptr;
}
