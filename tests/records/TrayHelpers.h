#pragma once

#include "MainWindowFixture.h"

#include "records/AutoLock.h"

#include "tray/FrmTrayMenu.h"
#include "tray/GlobalKeys.h"
#include "users/FrmLoosenLock.h"
#include "users/UserStore.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMetaObject>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

// Helpers for the main window's life in the notification area: stored settings, minimising,
// the auto-lock's minutes and the unlock window.
namespace tray {

inline void changeSettings(MainWindowFixture &f, const QString &user,
                           const std::function<void(UserSettings &)> &change) {
    UserStore users = f.data->vault->users();
    UserSettings settings = users.settings(user);
    change(settings);
    users.saveSettings(user, settings);
}

inline UserSettings storedSettings(MainWindowFixture &f, const QString &user) {
    return f.data->vault->users().settings(user);
}

// The title bar's minimise button, then whatever the window does once that has been handled.
inline void minimise(FrmMain *window) {
    window->showMinimized();
    QCoreApplication::processEvents();
}

// Minutes of the auto-lock timer. A stopped timer does not tick.
inline void tick(FrmMain *window, int minutes = 1) {
    for (int i = 0; i < minutes; ++i)
        window->autoLock()->tick();
}

// The title bar's close box: the window system's close request, which the window sees as a
// spontaneous close event.
inline void closeBox(QWidget *window) {
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    QCoreApplication::sendEvent(window->windowHandle(), &event);
}

// The user ID, password and web address the paste shortcuts type.
inline QStringList pasteTexts(FrmMain *window) {
    if (!window->globalKeys())
        return {};
    QStringList texts;
    const std::vector<ShortcutKey> &keys = window->globalKeys()->table().Shortcuts;
    for (int entry :
         {ShortcutTable::kPasteUser, ShortcutTable::kPastePassword, ShortcutTable::kPasteUrl})
        texts << (entry < int(keys.size()) ? keys[entry].Text : QString());
    return texts;
}

inline QAction *item(FrmMain *window, const char *name) {
    QAction *action = window->trayMenu()->item(name);
    if (!action)
        qFatal("no menu item %s", name);
    return action;
}

inline QLineEdit *unlockPassword(FrmLoosenLock *unlock) {
    auto *box = unlock->findChild<QLineEdit *>(QStringLiteral("TxtPwd"));
    if (!box)
        qFatal("no TxtPwd");
    return box;
}

// The unlock window has no owner; a test that leaves it open closes it before the vault goes.
inline void dropUnlockWindow(MainWindowFixture &f) {
    if (f.window && f.window->unlockWindow())
        delete f.window->unlockWindow();
}

} // namespace tray
