#include "../records/TrayHelpers.h"

#include <QLabel>
#include <QPushButton>

using namespace tray;

// The unlock window, opened as a user meets it: the program locked in the tray, then a click
// on the tray icon.
class TstFrmLoosenLock : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> f;

    FrmMain *window() { return f->window.get(); }
    // alice's window (opened unless it is), locked in the tray, and the unlock window the tray icon
    // opens.
    FrmLoosenLock *lockAndClick() {
        if (!f->window)
            f->open(f->alice);
        minimise(window());
        window()->lock();
        f->env->tray.click();
        FrmLoosenLock *unlock = window()->unlockWindow();
        if (!unlock || !unlock->isVisible())
            qFatal("the unlock window did not open");
        return unlock;
    }
    static QPushButton *button(FrmLoosenLock *unlock, const char *name) {
        auto *b = unlock->findChild<QPushButton *>(QLatin1String(name));
        if (!b)
            qFatal("no %s", name);
        return b;
    }
    void verifyStillLocked() {
        QVERIFY(window()->IsLock());
        QVERIFY(f->alice->isLocked());
        QVERIFY(!item(window(), "mnuSet")->isEnabled());
        QVERIFY(!item(window(), "mnuAbout")->isEnabled());
        QVERIFY(!window()->isVisible());
        QCOMPARE(f->model()->rowCount(), 0);
    }

private slots:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() {
        dropUnlockWindow(*f);
        f.reset();
    }

    void controls() {
        FrmLoosenLock *unlock = lockAndClick();
        QCOMPARE(unlock->windowTitle(), QStringLiteral("解锁 --- 当前用户:alice"));
        auto *tips = unlock->findChild<QLabel *>(QStringLiteral("lblTips"));
        QVERIFY(tips);
        QCOMPARE(tips->text(), QStringLiteral("Qolani密码管理器已锁定,请输入登录密码解锁!"));
        QLineEdit *password = unlockPassword(unlock);
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(password->maxLength(), 50);
        QVERIFY(button(unlock, "CmdUntie")->isDefault());
        QCOMPARE(button(unlock, "CmdUntie")->text(), QStringLiteral("解锁(&U)"));
        QCOMPARE(button(unlock, "CmdCancel")->text(), QStringLiteral("取消(&C)"));
    }

    void rejectedPasswords_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        const QString tooShort = QStringLiteral("密码长度不能小于6位.");
        const QString wrong = QStringLiteral("密码错误,请重新输入!");
        QTest::newRow("empty") << "" << tooShort;
        QTest::newRow("five characters of the right one") << "Secre" << tooShort;
        QTest::newRow("six characters") << "Secret" << wrong;
        QTest::newRow("other letter case") << "secret1" << wrong;
        QTest::newRow("right one with a space") << "Secret1 " << wrong;
    }
    void rejectedPasswords() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        FrmLoosenLock *unlock = lockAndClick();
        // No limit on attempts: every one gets the same answer.
        for (int attempt = 0; attempt < 4; ++attempt) {
            unlockPassword(unlock)->setText(typed);
            QTest::mouseClick(button(unlock, "CmdUntie"), Qt::LeftButton);
        }
        QCOMPARE(f->env->messages.texts(), QStringList(4, message));
        const RecordingMessageService::Shown &shown = f->env->messages.shown.first();
        QCOMPARE(shown.icon, MessageService::Icon::Information);
        QCOMPARE(shown.title, QStringLiteral("提示"));
        QCOMPARE(window()->unlockWindow(), unlock);
        QVERIFY(unlock->isVisible());
        QCOMPARE(unlockPassword(unlock)->text(), typed);
        verifyStillLocked();
    }

    void rightPasswordUnlocks() {
        f->open(f->alice);
        // Emptied and refilled, the list keeps the user's column widths.
        f->list()->setColumnWidth(RecordModel::URLColumn, 333);
        FrmLoosenLock *unlock = lockAndClick();
        unlockPassword(unlock)->setText(QStringLiteral("Wrong12"));
        QTest::mouseClick(button(unlock, "CmdUntie"), Qt::LeftButton);
        unlockPassword(unlock)->clear();
        QTest::keyClicks(unlockPassword(unlock), QStringLiteral("Secret1"));
        QTest::keyClick(unlockPassword(unlock), Qt::Key_Return);

        QCOMPARE(f->env->messages.texts(), QStringList{QStringLiteral("密码错误,请重新输入!")});
        QVERIFY(!window()->IsLock());
        QVERIFY(!f->alice->isLocked());
        QVERIFY(item(window(), "mnuAbout")->isEnabled());
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());
        QVERIFY(window()->isVisible());
        QCOMPARE(window()->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized),
                 Qt::WindowNoState);
        QVERIFY(!f->env->tray.visible);
        QTRY_VERIFY(!window()->unlockWindow());
        QCOMPARE(f->list()->columnWidth(RecordModel::URLColumn), 333);

        // The key is the user's again: the passwords decrypt, and the program locks anew.
        f->selectRow(QStringLiteral("招商银行"));
        item(window(), "mnuCopyPwd")->trigger();
        QCOMPARE(f->env->clipboard.text(), QStringLiteral("zs-pass"));
        minimise(window());
        window()->lock();
        f->env->tray.click();
        QVERIFY(window()->unlockWindow() && window()->unlockWindow()->isVisible());
        QVERIFY(unlockPassword(window()->unlockWindow())->text().isEmpty());
    }

    void leavingKeepsTheLock_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel button") << "cancel";
        QTest::newRow("escape") << "escape";
        QTest::newRow("close box") << "close";
    }
    void leavingKeepsTheLock() {
        QFETCH(QString, how);
        FrmLoosenLock *unlock = lockAndClick();
        unlockPassword(unlock)->setText(QStringLiteral("Secret1"));
        if (how == QLatin1String("cancel"))
            QTest::mouseClick(button(unlock, "CmdCancel"), Qt::LeftButton);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(unlockPassword(unlock), Qt::Key_Escape);
        else
            closeBox(unlock);
        QTRY_VERIFY(!window()->unlockWindow());
        QVERIFY(f->env->messages.shown.isEmpty());
        verifyStillLocked();

        // The tray icon opens it again, as often as the user likes.
        for (int again = 0; again < 2; ++again) {
            f->env->tray.click();
            FrmLoosenLock *reopened = window()->unlockWindow();
            QVERIFY(reopened && reopened->isVisible());
            QCOMPARE(reopened->windowTitle(), QStringLiteral("解锁 --- 当前用户:alice"));
            QVERIFY(unlockPassword(reopened)->text().isEmpty());
            QTest::keyClick(unlockPassword(reopened), Qt::Key_Escape);
            QTRY_VERIFY(!window()->unlockWindow());
        }
        verifyStillLocked();
    }
};

QTEST_MAIN(TstFrmLoosenLock)
#include "tst_frmloosenlock.moc"
