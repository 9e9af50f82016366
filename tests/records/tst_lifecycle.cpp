#include "TrayHelpers.h"

#include "vault/DataFile.h"

#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>

using namespace tray;

// The main window's life apart from its content: the backup at load, the tray, the auto-lock
// and the exit.
class TstLifecycle : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> f;

    FrmMain *window() { return f->window.get(); }
    FakeTrayIcon &trayIcon() { return f->env->tray; }
    void aliceSettings(const std::function<void(UserSettings &)> &change) {
        changeSettings(*f, QStringLiteral("alice"), change);
    }
    UserSettings aliceStored() { return storedSettings(*f, QStringLiteral("alice")); }
    void verifyLocked() {
        QVERIFY(window()->IsLock());
        QVERIFY(!window()->autoLock()->isRunning());
        QVERIFY(!item(window(), "mnuSet")->isEnabled());
        QVERIFY(!item(window(), "mnuAbout")->isEnabled());
        QVERIFY(f->alice->isLocked());
        QCOMPARE(f->model()->rowCount(), 0);
    }
    void verifyUnlocked() {
        QVERIFY(!window()->IsLock());
        QVERIFY(item(window(), "mnuAbout")->isEnabled());
        QVERIFY(!f->alice->isLocked());
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());
    }

private slots:
    // The settings window also writes the desktop's autostart entry; keep it out of the home.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() {
        dropUnlockWindow(*f);
        f.reset();
    }

    // --- the backup at load ---

    void autoBackupAtLoad_data() {
        QTest::addColumn<double>("AutoBackup");
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<bool>("AutoCompress");
        QTest::addColumn<bool>("made");
        QTest::newRow("weekly, a week ago") << 7.0 << 7 << true << true;
        QTest::newRow("weekly, six days ago") << 7.0 << 6 << true << false;
        QTest::newRow("weekly, a month ago") << 7.0 << 31 << true << true;
        QTest::newRow("weekly, a week ago, not compacted") << 7.0 << 7 << false << true;
        QTest::newRow("daily, yesterday") << 1.0 << 1 << true << true;
        QTest::newRow("daily, today") << 1.0 << 0 << true << false;
        QTest::newRow("never, ten years ago") << 0.0 << 3650 << true << false;
        QTest::newRow("weekly, dated in the future") << 7.0 << -8 << true << false;
    }
    void autoBackupAtLoad() {
        QFETCH(double, AutoBackup);
        QFETCH(int, daysAgo);
        QFETCH(bool, AutoCompress);
        QFETCH(bool, made);
        const QDate today = f->env->clock.today();
        const QDate prior = today.addDays(-daysAgo);
        const QString target = f->env->folder.filePath(QStringLiteral("自动备份.dat"));
        aliceSettings([&](UserSettings &s) {
            s.AutoBackup = AutoBackup;
            s.PriorBackupDate = prior;
            s.AutoBackupPath = target;
            s.AutoCompress = AutoCompress;
        });
        f->open(f->alice);
        QVERIFY(f->env->messages.shown.isEmpty());
        QCOMPARE(QFile::exists(target), made);
        QCOMPARE(aliceStored().PriorBackupDate, made ? today : prior);
        // The window goes on with the live file either way.
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());
        if (!made)
            return;

        // The backup lies at rest like the data file: only unscrambled does it open.
        QVERIFY_THROWS_EXCEPTION(VaultError, Vault::open(target));
        std::unique_ptr<Vault> backup = datafile::open(target, {});
        QCOMPARE(backup->users().names(), QStringList({"alice", "bob"}));
        std::optional<Session> session =
            backup->users().login(QStringLiteral("alice"), QStringLiteral("Secret1"));
        QVERIFY(session);
        QCOMPARE(backup->records(*session).list().size(), size_t(6));
    }

    void failedAutoBackupIsReportedAndRetriedAtTheNextStart() {
        const QDate prior = f->env->clock.today().addDays(-7);
        const QString folder = f->env->folder.filePath(QStringLiteral("备份"));
        const QString target = folder + QStringLiteral("/自动备份.dat");
        aliceSettings([&](UserSettings &s) {
            s.AutoBackup = 7;
            s.PriorBackupDate = prior;
            s.AutoBackupPath = target;
        });
        f->open(f->alice);
        QCOMPARE(f->env->messages.shown.size(), 1);
        const RecordingMessageService::Shown &shown = f->env->messages.shown.first();
        QCOMPARE(shown.icon, MessageService::Icon::Exclamation);
        QCOMPARE(shown.title, QStringLiteral("提示"));
        QCOMPARE(shown.text, QStringLiteral("自动备份数据失败,请手动备份!"));
        QCOMPARE(aliceStored().PriorBackupDate, prior);
        QVERIFY(!QFile::exists(target));
        QCOMPARE(f->names(), MainWindowFixture::aliceNames());

        // Once the folder is there, the next start makes the backup it still owes.
        QVERIFY(QDir().mkpath(folder));
        f->open(f->alice);
        QCOMPARE(f->env->messages.shown.size(), 1);
        QVERIFY(QFile::exists(target));
        QCOMPARE(aliceStored().PriorBackupDate, f->env->clock.today());
    }

    // Unlocking shows the list as it was locked: the same rows, order and selected record.
    void unlockKeepsTheList_data() {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("selected");
        QTest::newRow("node, sorted") << "网站帐号"
                                      << ""
                                      << "Gmail";
        QTest::newRow("quick search, sorted") << ""
                                              << "l"
                                              << "O'Reilly's";
    }
    void unlockKeepsTheList() {
        QFETCH(QString, node);
        QFETCH(QString, typed);
        QFETCH(QString, selected);
        f->open(f->alice);
        if (!node.isEmpty())
            f->clickNode(node);
        if (!typed.isEmpty())
            QTest::keyClicks(f->child<QLineEdit>("TxtFindData"), typed);
        f->clickHeader(RecordModel::AccountNameColumn);
        f->clickHeader(RecordModel::AccountNameColumn); // descending
        f->selectRow(selected);
        const QStringList before = f->names();
        QVERIFY(before.size() > 1);

        minimise(window());
        window()->lock();
        QCOMPARE(f->model()->rowCount(), 0);
        trayIcon().click();
        FrmLoosenLock *unlock = window()->unlockWindow();
        QVERIFY(unlock);
        unlockPassword(unlock)->setText(QStringLiteral("Secret1"));
        QTest::mouseClick(unlock->findChild<QPushButton *>(QStringLiteral("CmdUntie")),
                          Qt::LeftButton);
        QVERIFY(!window()->IsLock());

        QCOMPARE(f->names(), before);
        QHeaderView *header = f->list()->horizontalHeader();
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(f->names().value(f->list()->currentIndex().row()), selected);
    }

    // --- the tray and the auto-lock ---

    void iconExistsExactlyWhileMinimised() {
        f->open(f->alice);
        QVERIFY(!trayIcon().visible);
        window()->showMaximized();
        QVERIFY(!trayIcon().visible);
        QVERIFY(!window()->autoLock()->isRunning());

        minimise(window());
        QVERIFY(!window()->isVisible());
        QVERIFY(trayIcon().visible);
        QCOMPARE(trayIcon().tip, QStringLiteral("Fennick密码管理器"));
        QCOMPARE(trayIcon().menu, window()->trayMenu()->mnuTray());

        trayIcon().click();
        QVERIFY(window()->isVisible());
        QCOMPARE(window()->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized),
                 Qt::WindowNoState);
        QVERIFY(!trayIcon().visible);
        QVERIFY(!window()->autoLock()->isRunning());
        QVERIFY(!window()->unlockWindow());

        trayIcon().tip.clear();
        minimise(window());
        QVERIFY(trayIcon().visible);
        QCOMPARE(trayIcon().tip, QStringLiteral("Fennick密码管理器"));
    }

    void locksAtTheFifthMinuteInTheTray() {
        aliceSettings([](UserSettings &s) { s.MinLockTime = 5; });
        f->open(f->alice);
        AutoLock *timer = window()->autoLock();
        QVERIFY(!timer->isRunning());
        QCOMPARE(timer->interval(), 60000);
        minimise(window());
        QVERIFY(timer->isRunning());

        tick(window(), 4);
        verifyUnlocked();
        QVERIFY(timer->isRunning());

        tick(window());
        verifyLocked();
        // The window itself stays where it was, in the tray.
        QVERIFY(!window()->isVisible());
        QVERIFY(trayIcon().visible);
        QVERIFY(f->env->messages.shown.isEmpty());
    }

    void restoringStartsTheCountAgain() {
        aliceSettings([](UserSettings &s) { s.MinLockTime = 5; });
        f->open(f->alice);
        minimise(window());
        tick(window(), 4);
        window()->showNormal();
        QVERIFY(!window()->autoLock()->isRunning());
        minimise(window());
        tick(window(), 4);
        verifyUnlocked();
        tick(window());
        verifyLocked();
    }

    // Lowered through the settings window (the tray's settings item) while in the tray, to a
    // value the count has already passed: no lock in this period, as the rule is equality.
    void loweringTheSettingBelowTheCountSkipsThisPeriod() {
        aliceSettings([](UserSettings &s) { s.MinLockTime = 5; });
        f->open(f->alice);
        minimise(window());
        tick(window(), 3);
        f->onModal([](QDialog *settings) {
            auto *minutes = settings->findChild<QLineEdit *>(QStringLiteral("TxtMinLock"));
            QVERIFY(minutes);
            minutes->setText(QStringLiteral("2"));
            QTest::mouseClick(settings->findChild<QPushButton *>(QStringLiteral("CmdOK")),
                              Qt::LeftButton);
        });
        window()->CmdSet_Click();
        QVERIFY(f->modalDone());
        QCOMPARE(aliceStored().MinLockTime, 2.0);
        QVERIFY(!window()->isVisible());

        tick(window(), 30);
        verifyUnlocked();
        QVERIFY(window()->autoLock()->isRunning());

        // The next time in the tray counts to the new setting.
        window()->showNormal();
        minimise(window());
        tick(window());
        verifyUnlocked();
        tick(window());
        verifyLocked();
    }

    // The rule is equality: a setting that the count steps over never locks.
    void lockNeedsTheCountToMeetTheSetting_data() {
        QTest::addColumn<double>("MinLockTime");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("locksAt"); // 0: never
        QTest::newRow("one minute") << 1.0 << 2 << 1;
        QTest::newRow("two minutes") << 2.0 << 3 << 2;
        QTest::newRow("never") << 0.0 << 120 << 0;
        QTest::newRow("between two minutes") << 2.5 << 10 << 0;
    }
    void lockNeedsTheCountToMeetTheSetting() {
        QFETCH(double, MinLockTime);
        QFETCH(int, minutes);
        QFETCH(int, locksAt);
        aliceSettings([&](UserSettings &s) { s.MinLockTime = MinLockTime; });
        f->open(f->alice);
        minimise(window());
        for (int minute = 1; minute <= minutes; ++minute) {
            tick(window());
            const bool locked = locksAt != 0 && minute >= locksAt;
            QVERIFY2(window()->IsLock() == locked, qPrintable(QString::number(minute)));
            QCOMPARE(window()->autoLock()->isRunning(), !locked);
        }
        if (locksAt)
            verifyLocked();
        else
            verifyUnlocked();
    }

    void withoutATrayTheWindowMinimisesAndSaysSoOnce() {
        trayIcon().available = false;
        f->open(f->alice);
        minimise(window());
        QVERIFY(window()->isVisible());
        QVERIFY(window()->isMinimized());
        QVERIFY(!trayIcon().visible);
        QCOMPARE(f->env->messages.shown.size(), 1);
        QCOMPARE(f->env->messages.shown.first().icon, MessageService::Icon::Information);

        window()->showNormal();
        minimise(window());
        QVERIFY(window()->isVisible());
        QCOMPARE(f->env->messages.shown.size(), 1);
    }

    // Without a tray the taskbar brings the window back; it must not show a locked program as
    // if it were open, and it must leave a way to unlock.
    void withoutATrayRestoringALockedWindowAsksForThePassword() {
        trayIcon().available = false;
        aliceSettings([](UserSettings &s) { s.MinLockTime = 1; });
        f->open(f->alice);
        minimise(window());
        tick(window());
        verifyLocked();
        window()->setWindowState(window()->windowState() & ~Qt::WindowMinimized);
        QCoreApplication::processEvents();
        QTRY_VERIFY(window()->unlockWindow() && window()->unlockWindow()->isVisible());
        QVERIFY(window()->isMinimized());
    }

    // A window that was maximised comes back from the taskbar maximised; the count stops then
    // as it does for a normal window.
    void withoutATrayRestoringToMaximisedStopsTheCount() {
        trayIcon().available = false;
        f->open(f->alice);
        window()->showMaximized();
        minimise(window());
        QVERIFY(window()->autoLock()->isRunning());
        window()->setWindowState(Qt::WindowMaximized);
        QCoreApplication::processEvents();
        QVERIFY(window()->isVisible());
        QVERIFY(!window()->autoLock()->isRunning());
    }

    void trayClickWhileLockedOpensOneUnlockWindow() {
        f->open(f->alice);
        minimise(window());
        window()->lock();
        trayIcon().click();
        QPointer<FrmLoosenLock> unlock = window()->unlockWindow();
        QVERIFY(unlock && unlock->isVisible());
        QVERIFY(!unlock->isModal());
        QCOMPARE(unlock->windowTitle(), QStringLiteral("解锁 --- 当前用户:alice"));
        QVERIFY(!window()->isVisible());
        QVERIFY(window()->isMinimized());
        QVERIFY(trayIcon().visible);

        trayIcon().click();
        QCOMPARE(window()->unlockWindow(), unlock.data());
        int shown = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            shown += qobject_cast<FrmLoosenLock *>(widget) && widget->isVisible();
        QCOMPARE(shown, 1);
        QVERIFY(!window()->isVisible());
    }

    // --- closing and the exit ---

    void exitQuestion_data() {
        QTest::addColumn<MessageService::Answer>("answer");
        QTest::addColumn<bool>("userDeleted");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("exits");
        QTest::newRow("declined") << MessageService::Answer::No << false << true << false;
        QTest::newRow("accepted") << MessageService::Answer::Yes << false << true << true;
        QTest::newRow("user deleted") << MessageService::Answer::No << true << false << true;
    }
    void exitQuestion() {
        QFETCH(MessageService::Answer, answer);
        QFETCH(bool, userDeleted);
        QFETCH(bool, asked);
        QFETCH(bool, exits);
        f->open(f->alice);
        QSignalSpy unloaded(window(), &FrmMain::unloaded);
        f->list()->setColumnWidth(RecordModel::AccountNameColumn, 200);
        window()->setLoggingOut(userDeleted);
        f->env->messages.answers.push_back(answer);
        f->click("CmdQuit");
        if (asked) {
            QCOMPARE(f->env->messages.shown.size(), 1);
            const RecordingMessageService::Shown &shown = f->env->messages.shown.first();
            QCOMPARE(shown.icon, MessageService::Icon::Question);
            QCOMPARE(shown.title, QStringLiteral("提示"));
            QCOMPARE(shown.text, QStringLiteral("是否退出系统？"));
        } else {
            QVERIFY(f->env->messages.shown.isEmpty());
        }
        QCOMPARE(unloaded.count(), exits ? 1 : 0);
        QCOMPARE(window()->isVisible(), !exits);
        QCOMPARE(aliceStored().AccountNameWidth, exits ? 3000.0 : 1440.0);
    }

    void columnWidthsAreStoredInTwips() {
        f->open(f->alice);
        // The pixels below are at 96 dots per inch: 15 twips to the pixel. Nobody can drag a
        // column below the header's minimum, which is wider than 100 twips; lowered here so
        // that narrower columns can be seen.
        QCOMPARE(window()->logicalDpiX(), 96);
        f->list()->horizontalHeader()->setMinimumSectionSize(1);
        const QList<int> pixels{1, 6, 7, 200, 250};
        for (int column = 0; column < RecordModel::kColumns; ++column) {
            f->list()->setColumnWidth(column, pixels[column]);
            QCOMPARE(f->list()->columnWidth(column), pixels[column]);
        }
        f->click("CmdQuit");
        const UserSettings s = aliceStored();
        QCOMPARE(QList<double>({s.TypeNameWidth, s.AccountNameWidth, s.AccountIDWidth,
                                s.AccountPasswordWidth, s.URLWidth}),
                 QList<double>({100, 100, 105, 3000, 3750}));

        // The next login shows the stored widths; 100 twips is 7 pixels, or the header's
        // minimum.
        f->open(f->alice);
        const int narrow = qMax(7, f->list()->horizontalHeader()->minimumSectionSize());
        QList<int> shown;
        for (int column = 0; column < RecordModel::kColumns; ++column)
            shown << f->list()->columnWidth(column);
        QCOMPARE(shown, QList<int>({narrow, narrow, narrow, 200, 250}));
    }

    void closeBox_data() {
        QTest::addColumn<int>("Custom2");
        QTest::addColumn<bool>("closeBox"); // else the quit button
        QTest::addColumn<bool>("toTray");
        QTest::newRow("close box, Custom2 1") << 1 << true << true;
        QTest::newRow("close box, Custom2 0") << 0 << true << false;
        QTest::newRow("close box, Custom2 2") << 2 << true << false;
        QTest::newRow("quit button, Custom2 1") << 1 << false << false;
    }
    void closeBox() {
        QFETCH(int, Custom2);
        QFETCH(bool, closeBox);
        QFETCH(bool, toTray);
        aliceSettings([&](UserSettings &s) { s.Custom2 = Custom2; });
        f->open(f->alice);
        QSignalSpy unloaded(window(), &FrmMain::unloaded);
        f->env->messages.answers.push_back(MessageService::Answer::No);
        if (closeBox)
            tray::closeBox(window());
        else
            f->click("CmdQuit");
        QCoreApplication::processEvents();
        QCOMPARE(unloaded.count(), 0);
        if (toTray) {
            QVERIFY(f->env->messages.shown.isEmpty());
            QVERIFY(window()->isMinimized());
            QVERIFY(!window()->isVisible());
            QVERIFY(trayIcon().visible);
            QVERIFY(window()->autoLock()->isRunning());
        } else {
            QCOMPARE(f->env->messages.texts(), QStringList{QStringLiteral("是否退出系统？")});
            QVERIFY(window()->isVisible());
            QVERIFY(!window()->isMinimized());
        }
    }
};

QTEST_MAIN(TstLifecycle)
#include "tst_lifecycle.moc"
