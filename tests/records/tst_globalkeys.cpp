// The main window's global shortcuts, fed by a backend that needs no desktop.
#include "MainWindowFixture.h"

#include "tray/GlobalKeys.h"
#include "tray/VirtualKeys.h"
#include "users/FrmLoosenLock.h"
#include "users/UserStore.h"

#include <QLineEdit>
#include <QMenu>

class TstGlobalKeys : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> f;
    FakeGlobalKeys &keys() { return f->env->globalKeys; }
    bool press(int key) { return keys().press(vk::LMenu, key); }
    void copyForShortcuts(const QString &name) {
        f->selectRow(name);
        QAction *item =
            f->window->listMenu()->findChild<QAction *>(QStringLiteral("mnuCopyShortcut"));
        QVERIFY(item);
        item->trigger();
    }

private slots:
    void init() {
        f = std::make_unique<MainWindowFixture>();
        f->open(f->alice);
    }
    void cleanup() { f.reset(); }

    void nothingToTypeUntilARecordIsChosen() {
        // Only the boss key acts; the paste keys reach the focused application.
        QCOMPARE(keys().combos, (std::vector<KeyCombo>{{4, 83}}));
        QVERIFY(!press('1'));
        QVERIFY(keys().typed.isEmpty());
    }

    void pasteKeysTypeTheChosenRecord() {
        const QString clipboard = QStringLiteral("untouched");
        f->env->clipboard.setText(clipboard);
        copyForShortcuts(QStringLiteral("招商银行"));
        QCOMPARE(f->env->clipboard.text(), clipboard);
        QCOMPARE(keys().combos, (std::vector<KeyCombo>{{4, 49}, {4, 50}, {4, 51}, {4, 83}}));
        QVERIFY(press('1'));
        QVERIFY(press('2'));
        QVERIFY(press('3'));
        QCOMPARE(keys().typed, QStringList({QStringLiteral("alice01"), QStringLiteral("zs-pass"),
                                            QStringLiteral("https://cmb.example")}));
        // A record without web address: Alt+3 passes through again.
        copyForShortcuts(QStringLiteral("QQ邮箱"));
        QVERIFY(!press('3'));
        QCOMPARE(keys().typed.size(), 3);
    }

    void settingsChangeTheKeys() {
        copyForShortcuts(QStringLiteral("招商银行"));
        UserSettings s = f->data->vault->users().settings(QStringLiteral("alice"));
        s.ShortcutUser = QStringLiteral("2|116"); // Ctrl+F5
        s.ShortcutPassword.clear();
        f->data->vault->users().saveSettings(QStringLiteral("alice"), s);
        f->onModal([](QDialog *settings) { settings->reject(); });
        f->click("CmdSet");
        QVERIFY(f->modalDone());
        QVERIFY(keys().press(vk::LControl, vk::F1 + 4));
        QCOMPARE(keys().typed, QStringList{QStringLiteral("alice01")});
        QVERIFY(!press('2')); // no password shortcut any more
        // The paste texts survived the new keys.
        QCOMPARE(f->window->globalKeys()->table().Shortcuts[1].Text, QStringLiteral("zs-pass"));
    }

    void lockingForgetsThePasteTexts() {
        copyForShortcuts(QStringLiteral("招商银行"));
        f->window->lock();
        QVERIFY(!press('2'));
        QVERIFY(keys().typed.isEmpty());
        for (int i = 0; i < 3; ++i)
            QVERIFY(f->window->globalKeys()->table().Shortcuts[std::size_t(i)].Text.isEmpty());
    }

    void bossKeyHidesAndBrings() {
        QVERIFY(press('S'));
        QTRY_VERIFY(f->window->isMinimized());
        QTRY_VERIFY(!f->window->isVisible());
        QVERIFY(f->env->tray.visible);
        QVERIFY(press('S'));
        QTRY_VERIFY(f->window->isVisible() && !f->window->isMinimized());
        QVERIFY(!f->env->tray.visible);
    }

    void bossKeyWhileLockedOpensTheUnlockWindow() {
        QVERIFY(press('S'));
        QTRY_VERIFY(!f->window->isVisible());
        f->window->lock();
        QVERIFY(press('S'));
        QVERIFY(f->window->unlockWindow() && f->window->unlockWindow()->isVisible());
        QVERIFY(!f->window->isVisible());
    }

    // While a dialog is open its own Alt+S (保存, 设置) must reach it: the boss key lets go of
    // the key until the dialog has closed.
    void bossKeyLeavesABusyWindowAlone() {
        const KeyCombo boss{vk::MaskAlt, 'S'};
        bool withheld = true;
        bool grabbed = true;
        f->onModal([&](QDialog *about) {
            grabbed = std::count(keys().combos.begin(), keys().combos.end(), boss) > 0;
            withheld = press('S');
            about->reject();
        });
        f->click("CmdAbout");
        QVERIFY(f->modalDone());
        QVERIFY(!grabbed);
        QVERIFY(!withheld);
        QVERIFY(f->window->isVisible() && !f->window->isMinimized());
        QCOMPARE(std::count(keys().combos.begin(), keys().combos.end(), boss), 1);
        QVERIFY(press('S'));
    }

    // The keys are installed at the very end of the window's load: nothing is grabbed while the
    // load still reports a failed backup.
    void keysAreInstalledLast() {
        f->window.reset();
        UserStore users = f->data->vault->users();
        UserSettings settings = users.settings(QStringLiteral("alice"));
        settings.AutoBackup = 1;
        settings.PriorBackupDate = f->env->clock.today().addDays(-1);
        settings.AutoBackupPath = f->env->folder.filePath(QStringLiteral("missing/backup.dat"));
        users.saveSettings(QStringLiteral("alice"), settings);
        bool handlerAtMessage = true;
        std::size_t grabbedAtMessage = 1;
        f->env->messages.onShow = [&](const RecordingMessageService::Shown &) {
            handlerAtMessage = bool(keys().handler);
            grabbedAtMessage = keys().combos.size();
        };
        f->open(f->alice);
        QCOMPARE(f->env->messages.texts(),
                 QStringList{QStringLiteral("自动备份数据失败,请手动备份!")});
        QVERIFY(!handlerAtMessage);
        QCOMPARE(grabbedAtMessage, std::size_t(0));
        QVERIFY(keys().handler);
        QCOMPARE(keys().combos, (std::vector<KeyCombo>{{4, 83}}));
    }

    void exitReleasesTheKeys() {
        f->env->messages.answers = {MessageService::Answer::Yes};
        f->click("CmdQuit");
        QVERIFY(keys().combos.empty());
        QVERIFY(!keys().handler);
    }
};

QTEST_MAIN(TstGlobalKeys)
#include "tst_globalkeys.moc"
