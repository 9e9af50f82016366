#include "../records/TrayHelpers.h"

#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

using namespace tray;

// The tray icon's menu and the record list's copy items, over alice's main window.
class TstTrayMenu : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> f;

    FrmMain *window() { return f->window.get(); }
    static QStringList captions(QMenu *menu) {
        QStringList texts;
        for (QAction *action : menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }
    static QStringList names(QMenu *menu) {
        QStringList texts;
        for (QAction *action : menu->actions())
            texts << action->objectName();
        return texts;
    }

private slots:
    void init() {
        f = std::make_unique<MainWindowFixture>();
        f->open(f->alice);
    }
    void cleanup() {
        dropUnlockWindow(*f);
        f.reset();
    }

    void trayMenuIsTheIconsRightClickMenu() {
        QMenu *menu = window()->trayMenu()->mnuTray();
        QCOMPARE(f->env->tray.menu, menu);
        QCOMPARE(menu->title(), QStringLiteral("托盘"));
        QCOMPARE(names(menu),
                 QStringList({"mnuShowmain", "mnuline1", "mnuLock", "mnuline4", "mnuSet",
                              "mnuline2", "mnuHelp", "mnuAbout", "mnuline3", "mnuQuit"}));
        QCOMPARE(captions(menu),
                 QStringList({"显示主界面(&S)", "-", "锁定密码管理器(&L)", "-", "设置(&S)", "-",
                              "帮助(&H)", "关于(&A)", "-", "退出(&Q)"}));
        QVERIFY(item(window(), "mnuAbout")->isEnabled());
    }

    // The menus' carrier is never shown: nothing of it lies over the main window, where it would
    // take the clicks meant for the buttons beneath.
    void menuCarrierStaysOutOfSight() {
        FrmTrayMenu *carrier = window()->trayMenu();
        QCOMPARE(carrier->windowTitle(), QStringLiteral("系统托盘菜单"));
        auto *add = window()->findChild<QPushButton *>(QStringLiteral("CmdAdd"));
        QVERIFY(add);
        const QPoint centre = add->mapTo(window(), add->rect().center());
        QVERIFY(!carrier->isVisible());
        QCOMPARE(window()->childAt(centre), add);
    }

    void lockItemLocksEveryTime() {
        minimise(window());
        const QString locked = QStringLiteral("Qolani密码管理器已处锁定锁定状态!");
        for (int time = 1; time <= 2; ++time) {
            item(window(), "mnuLock")->trigger();
            QCOMPARE(f->env->messages.texts(), QStringList(time, locked));
            QVERIFY(window()->IsLock());
            QVERIFY(!item(window(), "mnuSet")->isEnabled());
            QVERIFY(!item(window(), "mnuAbout")->isEnabled());
        }
        QCOMPARE(f->env->messages.shown.last().icon, MessageService::Icon::Information);
        QCOMPARE(f->env->messages.shown.last().title, QStringLiteral("提示"));
        QVERIFY(f->alice->isLocked());
        QCOMPARE(f->model()->rowCount(), 0);
        // The window stays in the tray; the next minute of the auto-lock finds it locked and
        // stops counting.
        QVERIFY(!window()->isVisible());
        QVERIFY(f->env->tray.visible);
        tick(window());
        QVERIFY(!window()->autoLock()->isRunning());
        QVERIFY(window()->IsLock());
    }

    void showMainItem_data() {
        QTest::addColumn<bool>("locked");
        QTest::newRow("unlocked") << false;
        QTest::newRow("locked") << true;
    }
    void showMainItem() {
        QFETCH(bool, locked);
        minimise(window());
        if (locked)
            window()->lock();
        item(window(), "mnuShowmain")->trigger();
        QCOMPARE(window()->isVisible(), !locked);
        QCOMPARE(window()->isMinimized(), locked);
        QCOMPARE(f->env->tray.visible, locked);
        QCOMPARE(window()->unlockWindow() != nullptr, locked);
        if (locked)
            QVERIFY(window()->unlockWindow()->isVisible());
    }

    void helpItemWithoutTheDocument() {
        QVERIFY(
            !QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/帮助.doc")));
        item(window(), "mnuHelp")->trigger();
        QCOMPARE(f->env->messages.texts(), QStringList{QStringLiteral("帮助文档已丢失!")});
        QCOMPARE(f->env->messages.shown.first().icon, MessageService::Icon::Information);
        QVERIFY(f->env->desktop.opened.isEmpty());
    }

    void quitItemAsksFirst_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }
    void quitItemAsksFirst() {
        QFETCH(bool, yes);
        minimise(window());
        QSignalSpy unloaded(window(), &FrmMain::unloaded);
        f->env->messages.answers.push_back(yes ? MessageService::Answer::Yes
                                               : MessageService::Answer::No);
        item(window(), "mnuQuit")->trigger();
        QCOMPARE(f->env->messages.texts(), QStringList{QStringLiteral("是否退出系统？")});
        QCOMPARE(f->env->messages.shown.first().icon, MessageService::Icon::Question);
        QCOMPARE(unloaded.count(), yes ? 1 : 0);
        if (!yes) {
            // Declined, the window stays in the tray exactly as it was.
            QVERIFY(!window()->isVisible());
            QVERIFY(f->env->tray.visible);
            QVERIFY(window()->autoLock()->isRunning());
        }
    }

    // --- the record list's copy items ---

    void copyItems_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<bool>("secret");
        QTest::newRow("user id") << "mnuCopyUser"
                                 << "alice_bili" << false;
        QTest::newRow("password") << "mnuCopyPwd"
                                  << "bl-pass" << true;
        QTest::newRow("web address") << "mnuCopyUrl"
                                     << "https://bilibili.example" << false;
    }
    void copyItems() {
        QFETCH(QString, item);
        QFETCH(QString, copied);
        QFETCH(bool, secret);
        // The list masks the passwords; the clipboard gets the plain one.
        QCOMPARE(f->column(RecordModel::PasswordColumn)[1], QStringLiteral("********"));
        f->env->clipboard.setSecretText(QStringLiteral("an earlier password"));
        f->selectRow(QStringLiteral("哔哩哔哩"));
        tray::item(window(), qPrintable(item))->trigger();
        QCOMPARE(f->env->clipboard.text(), copied);
        QCOMPARE(f->env->clipboard.secret, secret);
        QVERIFY(pasteTexts(window()).join(QString()).isEmpty());
    }

    void copyForShortcutsLeavesTheClipboard() {
        f->env->clipboard.setText(QStringLiteral("copied before"));
        f->selectRow(QStringLiteral("O'Reilly's"));
        item(window(), "mnuCopyShortcut")->trigger();
        QCOMPARE(f->env->clipboard.text(), QStringLiteral("copied before"));
        QCOMPARE(pasteTexts(window()),
                 QStringList({"it's me", "or-pass", "https://oreilly.example"}));

        // A record without a web address hands an empty one.
        f->selectRow(QStringLiteral("QQ邮箱"));
        item(window(), "mnuCopyShortcut")->trigger();
        QCOMPARE(pasteTexts(window()), QStringList({"10001", "qq-pass", ""}));

        // A locked program keeps none of them.
        window()->lock();
        QCOMPARE(pasteTexts(window()), QStringList({"", "", ""}));
        QCOMPARE(f->env->clipboard.text(), QStringLiteral("copied before"));
    }
};

QTEST_MAIN(TstTrayMenu)
#include "tst_traymenu.moc"
