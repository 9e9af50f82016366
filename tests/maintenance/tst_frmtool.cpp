// The tools window: manual backup, restore, compaction, clearing the clipboard, and what the
// main window does after a restore, a rename or a deletion.
#include "RestoreFixture.h"
#include "TestServices.h"
#include "TestWidgets.h"

#include "maintenance/FrmTool.h"
#include "records/FrmMain.h"
#include "records/RecordModel.h"
#include "tray/GlobalKeys.h"
#include "tray/VirtualKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace restore;

// Reading the live file through a second handle of this process and closing it would release
// every POSIX lock the process holds on it, the database's exclusive lock included; the kernel's
// list shows whether it is still held.
// Whether this process holds a POSIX lock on `path`, as the kernel lists it. SQLite asks itself
// whether a file is locked, so only the kernel's list shows a lock that was lost.
static bool lockedByUs(const QString &path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString pid = QString::number(::getpid());
    const QString inode = QLatin1Char(':') + QString::number(info.st_ino);
    // "1: POSIX  ADVISORY  WRITE 4242 08:01:131074 1073741824 1073742335"
    for (const QString &line : QString::fromLatin1(locks.readAll()).split(QLatin1Char('\n'))) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '));
        if (fields.size() > 6 && fields.at(4) == pid && fields.at(5).endsWith(inode))
            return true;
    }
    return false;
}

using testwidgets::child;

class TstFrmTool : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<RestoreFixture> data;
    std::shared_ptr<Session> alice;
    std::unique_ptr<GlobalKeys> keys;
    std::unique_ptr<FrmTool> tool;
    std::unique_ptr<FrmMain> main;
    std::vector<std::unique_ptr<QTimer>> modalTimers;

    // The data folder is the one that holds the data file, as in the installed program.
    Services services() {
        Services s = env->services();
        s.appPath = data->dataFolder;
        return s;
    }
    QString inFolder(const QString &name) const { return data->folder.filePath(name); }
    void openTool() {
        tool = std::make_unique<FrmTool>(*data->vault, *alice, services(), keys.get());
        tool->show();
        QVERIFY(QTest::qWaitForWindowExposed(tool.get()));
    }
    void openMain() {
        // No backup at load: the window starts quietly.
        UserSettings s = data->vault->users().settings(kAlice);
        s.AutoBackup = 0;
        data->vault->users().saveSettings(kAlice, s);
        main = std::make_unique<FrmMain>(*data->vault, alice, services());
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    static void click(QWidget *window, const char *button) {
        auto *b = window->findChild<QPushButton *>(QLatin1String(button));
        if (!b)
            qFatal("no %s", button);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Runs `act` on the modal window called `name` as soon as the next modal loop runs, then
    // closes it if `act` left it open, so that a failed check never leaves the test waiting.
    // `seen` tells whether that window came at all.
    void onModal(const char *name, std::function<void(QDialog *)> act, bool *seen) {
        *seen = false;
        auto timer = std::make_unique<QTimer>();
        timer->setSingleShot(true);
        const QString expected = QString::fromLatin1(name);
        connect(timer.get(), &QTimer::timeout, this, [expected, act, seen] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != expected)
                return;
            *seen = true;
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        timer->start(0);
        modalTimers.push_back(std::move(timer));
    }
    // Restores `user` of the backup through the restore window.
    std::function<void(QDialog *)> restoreAs(const QString &user, bool keep) {
        return [user, keep](QDialog *dialog) {
            auto *users = child<QComboBox>(dialog, "CbUser");
            users->setCurrentIndex(users->findText(user));
            child<QLineEdit>(dialog, "TxtPass")->setText(passwordOf(user));
            child<QCheckBox>(dialog, "ChkUserSet")->setChecked(keep);
            click(dialog, "CmdResume");
        };
    }
    QStringList treeNodes() const {
        QTreeWidget *tree = child<QTreeWidget>(main.get(), "TreeViewType");
        QStringList nodes;
        QTreeWidgetItem *root = tree->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i)
            nodes << root->child(i)->text(0);
        return nodes;
    }
    QStringList listed() const {
        QStringList names;
        RecordModel *model = main->records();
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->index(row, RecordModel::AccountNameColumn).data().toString();
        return names;
    }
    static QStringList namesOf(const QList<Category> &categories) {
        QStringList names;
        for (const Category &c : categories)
            names << c.TypeName;
        return names;
    }
    static QStringList namesOf(const QList<QStringList> &records) {
        QStringList names;
        for (const QStringList &r : records)
            names << r.at(1);
        return names;
    }
    // The live file is in use and nobody else may open it; `kernelLock`: check the lock with the
    // kernel too.
    void verifyLiveOpenAndLocked(bool kernelLock = true) {
        if (kernelLock && QFileInfo::exists(QStringLiteral("/proc/locks")))
            QVERIFY2(lockedByUs(data->path), "the live file lost its lock");
        try {
            Vault::open(data->path);
            QFAIL("the live file opened a second time");
        } catch (const VaultError &error) {
            QCOMPARE(error.kind(), VaultError::Kind::Locked);
        }
        QCOMPARE(data->records(kAlice, passwordOf(kAlice)), data->backupRecords(kAlice));
        RecordStore(*data->vault, *alice)
            .add({QStringLiteral("其它"),
                  QStringLiteral("之后"),
                  QStringLiteral("id"),
                  QStringLiteral("pw"),
                  {},
                  {},
                  {}});
    }
    void verifyShown(const QString &text, MessageService::Icon icon) {
        QCOMPARE(env->messages.texts(), QStringList{text});
        QCOMPARE(env->messages.shown.first().icon, icon);
        QCOMPARE(env->messages.shown.first().title, QStringLiteral("提示"));
    }

private slots:
    void init() {
        env = std::make_unique<TestEnvironment>();
        data = std::make_unique<RestoreFixture>();
        alice = std::make_shared<Session>(data->login(kAlice, passwordOf(kAlice)));
        keys = std::make_unique<GlobalKeys>(env->globalKeys, [] {});
    }
    void cleanup() {
        modalTimers.clear();
        main.reset();
        tool.reset();
        keys.reset();
        alice.reset();
        data.reset();
        env.reset();
    }

    // --- backup ---

    void backupName_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("without extension") << "手动备份"
                                           << "手动备份.dat";
        QTest::newRow("capital extension kept") << "BACKUP.DAT"
                                                << "BACKUP.DAT";
        QTest::newRow("mixed case extension kept") << "Backup.Dat"
                                                   << "Backup.Dat";
        QTest::newRow("another extension") << "backup.bak"
                                           << "backup.bak.dat";
        QTest::newRow(".dat inside the name") << "o'neil.dat.old"
                                              << "o'neil.dat.old.dat";
        QTest::newRow("nothing but the extension") << ".dat"
                                                   << ".dat";
    }
    void backupName() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        openTool();
        env->fileDialogs.answers.push_back(inFolder(typed));
        click(tool.get(), "CmdBackup");
        QCOMPARE(env->fileDialogs.asked.size(), 1);
        QCOMPARE(env->fileDialogs.asked.first(),
                 QStringList({"save", "备份文件(dat)|*.dat", data->dataFolder,
                              "SystemDataBackup.dat", "保存备份文件"}));
        verifyShown(QStringLiteral("数据备份成功!"), MessageService::Icon::Information);
        QVERIFY(QFileInfo(inFolder(written)).isFile());
        if (written != typed)
            QVERIFY(!QFileInfo::exists(inFolder(typed)));
        QCOMPARE(BackupFile::open(inFolder(written), data->dataFolder)->users(),
                 QStringList({kAlice, kBob, kOBrien, kDArcy}));
        verifyLiveOpenAndLocked();
    }

    void cancelledBackupDoesNothing() {
        const QStringList before = QDir(data->dataFolder).entryList(QDir::AllEntries);
        openTool();
        click(tool.get(), "CmdBackup");
        QCOMPARE(env->fileDialogs.asked.size(), 1);
        QVERIFY(env->messages.shown.isEmpty());
        QCOMPARE(QDir(data->dataFolder).entryList(QDir::AllEntries), before);
    }

    // Whatever the user's setting says, the manual backup is compacted: after many deletions it
    // is smaller than a byte copy of the live file, and it holds exactly the remaining rows.
    void manualBackupIsAlwaysCompacted() {
        UserSettings s = data->vault->users().settings(kAlice);
        s.AutoCompress = false;
        data->vault->users().saveSettings(kAlice, s);
        RecordStore store(*data->vault, *alice);
        for (int i = 0; i < 300; ++i)
            store.add({QStringLiteral("其它"),
                       QStringLiteral("临时 %1").arg(i),
                       QStringLiteral("id"),
                       QStringLiteral("pw"),
                       {},
                       {},
                       QString(200, QLatin1Char('r'))});
        data->vault->connection().exec("DELETE FROM AccountData WHERE AccountName LIKE '临时 %'");
        const QList<QStringList> remaining = data->records(kAlice, passwordOf(kAlice));

        const QString byteCopy = inFolder(QStringLiteral("byte copy.dat"));
        QVERIFY(BackupDatabase(*data->vault, byteCopy, false));
        openTool();
        const QString manual = inFolder(QStringLiteral("manual.dat"));
        env->fileDialogs.answers.push_back(manual);
        click(tool.get(), "CmdBackup");
        verifyShown(QStringLiteral("数据备份成功!"), MessageService::Icon::Information);
        QVERIFY(QFileInfo(manual).size() < QFileInfo(byteCopy).size() / 2);

        // Restoring alice from it gives her the records she has now.
        Session again = data->login(kAlice, passwordOf(kAlice));
        BackupFile::open(manual, data->dataFolder)
            ->restoreInto(*data->vault, again, kAlice, passwordOf(kAlice), false);
        QCOMPARE(data->records(kAlice, passwordOf(kAlice)), remaining);
    }

    // The manual backup to the automatic backup's own file keeps the one it replaces.
    void manualBackupOverTheAutomaticFileKeepsItsGenerations() {
        const QString automatic = inFolder(QStringLiteral("SystemDataBackup.dat"));
        UserSettings s = data->vault->users().settings(kAlice);
        s.AutoBackupPath = automatic;
        s.PriorBackupDate = QDate(2026, 12, 1);
        data->vault->users().saveSettings(kAlice, s);
        QVERIFY(BackupDatabase(*data->vault, automatic, true));
        const QByteArray good = readAll(automatic);
        openTool();
        env->fileDialogs.answers.push_back(automatic);
        click(tool.get(), "CmdBackup");
        verifyShown(QStringLiteral("数据备份成功!"), MessageService::Icon::Information);
        QCOMPARE(readAll(inFolder(QStringLiteral("SystemDataBackup-2026-12-01.dat"))), good);
        QVERIFY(QFileInfo(automatic).size() > 0);
    }

    void failedBackup_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("missing folder") << "没有的文件夹/backup.dat";
        QTest::newRow("the live data file itself") << "SystemData.dat";
        QTest::newRow("a folder") << "folder.dat";
    }
    void failedBackup() {
        QFETCH(QString, target);
        QVERIFY(QDir().mkpath(inFolder(QStringLiteral("folder.dat"))));
        // The live file is not read here: a second handle on it would cost it its lock.
        const bool live = inFolder(target) == data->path;
        const FileState before = live ? FileState() : stateOf(inFolder(target));
        openTool();
        env->fileDialogs.answers.push_back(inFolder(target));
        click(tool.get(), "CmdBackup");
        verifyShown(QStringLiteral("数据备份失败!"), MessageService::Icon::Exclamation);
        if (!live)
            QCOMPARE(stateOf(inFolder(target)), before);
        QVERIFY(!QFileInfo::exists(inFolder(QStringLiteral("没有的文件夹"))));
        verifyLiveOpenAndLocked();
    }

    // --- compaction ---

    void compactingTwiceInARow() {
        RecordStore store(*data->vault, *alice);
        for (int i = 0; i < 200; ++i)
            store.add({QStringLiteral("其它"),
                       QStringLiteral("临时 %1").arg(i),
                       {},
                       {},
                       {},
                       {},
                       QString(300, QLatin1Char('r'))});
        data->vault->connection().exec("DELETE FROM AccountData WHERE AccountName LIKE '临时 %'");
        const qint64 before = QFileInfo(data->path).size();
        const QString temporary = inFolder(QStringLiteral("$Temp.tmp"));
        // A crashed compaction may have left its temporary file.
        writeAll(temporary, "left over");
        openTool();
        click(tool.get(), "CmdCompress");
        click(tool.get(), "CmdCompress");
        QVERIFY(!QFileInfo::exists(temporary));
        verifyLiveOpenAndLocked();
        QStringList shown;
        for (const RecordingMessageService::Shown &message : env->messages.shown)
            shown << QString::number(int(message.icon)) + QLatin1Char(' ') + message.text;
        const QString done = QString::number(int(MessageService::Icon::Information)) +
                             QStringLiteral(" 数据库压缩完毕!");
        QCOMPARE(shown, QStringList({done, done}));
        QVERIFY(QFileInfo(data->path).size() < before / 2);
        // The running session keeps working on the compacted file.
        QCOMPARE(RecordStore(*data->vault, *alice).all().size(),
                 size_t(data->backupRecords(kAlice).size() + 1));
    }

    // The temporary name is taken by something that cannot be removed: reported, and the live
    // file stays in use as it was.
    void failedCompactionIsReported() {
        const QString temporary = inFolder(QStringLiteral("$Temp.tmp"));
        QVERIFY(QDir().mkpath(temporary + QStringLiteral("/inside")));
        const QStringList rows = data->rowsExcept(QString());
        openTool();
        click(tool.get(), "CmdCompress");
        QCOMPARE(env->messages.shown.size(), 1);
        QCOMPARE(env->messages.shown.first().icon, MessageService::Icon::Exclamation);
        QVERIFY(env->messages.last() != QStringLiteral("数据库压缩完毕!"));
        QVERIFY(QFileInfo(temporary).isDir());
        QCOMPARE(data->rowsExcept(QString()), rows);
        verifyLiveOpenAndLocked();
    }

    // The compacted file will not open in the live file's place (another program took it, say):
    // said so, and the session goes on with the live file as it was, open and locked.
    void compactionWhoseReopenFailsKeepsTheLiveFile() {
        // The database's journal comes and goes with its own transactions.
        const auto listed = [this] {
            return QDir(data->dataFolder)
                .entryList(QDir::AllEntries)
                .filter(QRegularExpression(QStringLiteral("^(?!.*-journal$)")));
        };
        const QStringList files = listed();
        struct Failing {
            Failing() {
                Vault::beforeReopenForTests = [](const QString &path) {
                    throw VaultError(VaultError::Kind::Locked,
                                     path + QStringLiteral(" is in use by another program"));
                };
            }
            ~Failing() { Vault::beforeReopenForTests = nullptr; }
        };
        openTool();
        {
            Failing failing;
            click(tool.get(), "CmdCompress");
        }
        QCOMPARE(env->messages.shown.size(), 1);
        QCOMPARE(env->messages.shown.first().icon, MessageService::Icon::Exclamation);
        QVERIFY2(
            env->messages.last().startsWith(QStringLiteral("数据库压缩失败,数据文件没有改动.")),
            qPrintable(env->messages.last()));
        QCOMPARE(listed(), files);
        QVERIFY(data->vault->isOpen());
        verifyLiveOpenAndLocked();
        // The next compaction works.
        click(tool.get(), "CmdCompress");
        QCOMPARE(env->messages.last(), QStringLiteral("数据库压缩完毕!"));
        QCOMPARE(listed(), files);
        QCOMPARE(RecordStore(*data->vault, *alice).all().size(),
                 size_t(data->backupRecords(kAlice).size() + 1));
    }

    // --- clearing ---

    void clearingAlsoStopsThePasteKeys() {
        keys->setShortcuts({"4|49", "4|50", "4|51", "4|83"});
        keys->SetPasteTexts(QStringLiteral("alice01"), QStringLiteral("zs-pass"),
                            QStringLiteral("https://cmb.example"));
        FakeGlobalKeys &backend = env->globalKeys;
        QVERIFY(backend.press(vk::LMenu, '1'));
        QCOMPARE(backend.typed, QStringList{QStringLiteral("alice01")});
        env->clipboard.setSecretText(QStringLiteral("zs-pass"));
        openTool();
        click(tool.get(), "CmdEmpty");
        verifyShown(QStringLiteral("剪贴板已清空!"), MessageService::Icon::Information);
        QVERIFY(env->clipboard.text().isEmpty());
        // Alt+1, Alt+2 and Alt+3 reach the focused program again; nothing more is typed.
        for (int key : {'1', '2', '3'})
            QVERIFY(!backend.press(vk::LMenu, key));
        QCOMPARE(backend.typed, QStringList{QStringLiteral("alice01")});
    }

    // --- restore ---

    void badBackupChosen_data() {
        QTest::addColumn<int>("which");
        const std::vector<BadBackup> cases = badBackups();
        for (int i = 0; i < int(cases.size()); ++i)
            QTest::newRow(cases[std::size_t(i)].name) << i;
    }
    void badBackupChosen() {
        QFETCH(int, which);
        const QString chosen = inFolder(QStringLiteral("chosen.dat"));
        badBackups()[std::size_t(which)].make(*data, chosen);
        const FileState before = stateOf(chosen);
        const QStringList rows = data->rowsExcept(QString());
        openTool();
        bool restoreWindow = false;
        onModal(
            "FrmResumeData", [](QDialog *) {}, &restoreWindow);
        // Typed without its extension: the tools window adds it.
        env->fileDialogs.answers.push_back(inFolder(QStringLiteral("chosen")));
        click(tool.get(), "CmdResume");
        QCoreApplication::processEvents();
        QVERIFY(!restoreWindow);
        QCOMPARE(env->fileDialogs.asked.first(),
                 QStringList({"open", "备份文件(dat)|*.dat", data->dataFolder, QString(),
                              "请选择备份文件"}));
        QCOMPARE(env->messages.shown.size(), 1);
        QCOMPARE(env->messages.shown.first().icon, MessageService::Icon::Exclamation);
        QVERIFY2(env->messages.last().contains(QStringLiteral("chosen.dat")),
                 qPrintable(env->messages.last()));
        QCOMPARE(stateOf(chosen), before);
        QVERIFY(!QFileInfo::exists(data->workFolder));
        QCOMPARE(data->rowsExcept(QString()), rows);
        QVERIFY(tool->isVisible());
        QVERIFY(!tool->restored());
        verifyLiveOpenAndLocked();
    }

    // The data file lies where the open dialog starts, among the *.dat files. Chosen by mistake
    // it is refused like any file that is no backup, and it stays locked against other programs.
    void theLiveDataFileIsNoBackup() {
        if (!QFileInfo::exists(QStringLiteral("/proc/locks")))
            QSKIP("no kernel list of locks");
        QVERIFY(lockedByUs(data->path));
        const QStringList rows = data->rowsExcept(QString());
        openTool();
        bool restoreWindow = false;
        onModal(
            "FrmResumeData", [](QDialog *) {}, &restoreWindow);
        env->fileDialogs.answers.push_back(data->path);
        click(tool.get(), "CmdResume");
        QCoreApplication::processEvents();
        QVERIFY(!restoreWindow);
        QCOMPARE(env->messages.shown.size(), 1);
        QCOMPARE(env->messages.shown.first().icon, MessageService::Icon::Exclamation);
        QCOMPARE(data->rowsExcept(QString()), rows);
        QVERIFY(!QFileInfo::exists(data->workFolder));
        QVERIFY(lockedByUs(data->path));
        verifyLiveOpenAndLocked(false);
    }

    void cancelledOpenDialogDoesNothing() {
        openTool();
        bool restoreWindow = false;
        onModal(
            "FrmResumeData", [](QDialog *) {}, &restoreWindow);
        click(tool.get(), "CmdResume");
        QCoreApplication::processEvents();
        QVERIFY(!restoreWindow);
        QCOMPARE(env->fileDialogs.asked.size(), 1);
        QVERIFY(env->messages.shown.isEmpty());
        QVERIFY(!QFileInfo::exists(data->workFolder));
    }

    // Through the main window's tools button: a cancelled restore window leaves the tree and the
    // list as they were; a restore rebuilds them with bob's categories and records.
    void mainWindowShowsTheRestoredData() {
        openMain();
        const QStringList aliceNodes = namesOf(data->backupCategories(kAlice));
        QCOMPARE(treeNodes(), aliceNodes);
        QCOMPARE(listed(), namesOf(data->backupRecords(kAlice)));
        const FileState backupBefore = stateOf(data->backupPath);

        for (bool cancel : {true, false}) {
            bool toolSeen = false, restoreSeen = false;
            onModal(
                "FrmTool",
                [&, cancel](QDialog *tools) {
                    onModal("FrmResumeData",
                            cancel ? std::function<void(QDialog *)>([](QDialog *) {})
                                   : restoreAs(kBob, true),
                            &restoreSeen);
                    env->fileDialogs.answers.push_back(data->backupPath);
                    click(tools, "CmdResume");
                    // Rebuilt as the restore window closes, while the tools window stays.
                    QVERIFY(tools->isVisible());
                    if (!cancel) {
                        QCOMPARE(treeNodes(), namesOf(data->backupCategories(kBob)));
                        QCOMPARE(listed(), namesOf(data->backupRecords(kBob)));
                    }
                },
                &toolSeen);
            click(main.get(), "CmdTool");
            QVERIFY(toolSeen);
            QVERIFY(restoreSeen);
            if (cancel) {
                QCOMPARE(treeNodes(), aliceNodes);
                QCOMPARE(listed(), namesOf(data->backupRecords(kAlice)));
            }
        }
        QCOMPARE(env->messages.last(), QStringLiteral("数据恢复成功!"));
        QCOMPARE(treeNodes(), namesOf(data->backupCategories(kBob)));
        QCOMPARE(listed(), namesOf(data->backupRecords(kBob)));
        QCOMPARE(stateOf(data->backupPath), backupBefore);
        QVERIFY(!QFileInfo::exists(data->workFolder));
    }

    // Settings restored through the main window are the ones stored after the program ends;
    // only the column widths are the window's own.
    void restoredSettingsOutliveTheMainWindow() {
        openMain();
        bool toolSeen = false, restoreSeen = false;
        onModal(
            "FrmTool",
            [&](QDialog *tools) {
                onModal("FrmResumeData", restoreAs(kBob, false), &restoreSeen);
                env->fileDialogs.answers.push_back(data->backupPath);
                click(tools, "CmdResume");
            },
            &toolSeen);
        click(main.get(), "CmdTool");
        QVERIFY(toolSeen && restoreSeen);
        QCOMPARE(data->vault->users().settings(kAlice), settingsOf(kBob));

        env->messages.answers.push_back(MessageService::Answer::Yes);
        click(main.get(), "CmdQuit");
        QVERIFY(!main->isVisible());
        UserSettings expected = settingsOf(kBob);
        const UserSettings stored = data->vault->users().settings(kAlice);
        expected.TypeNameWidth = stored.TypeNameWidth;
        expected.AccountNameWidth = stored.AccountNameWidth;
        expected.AccountIDWidth = stored.AccountIDWidth;
        expected.AccountPasswordWidth = stored.AccountPasswordWidth;
        expected.URLWidth = stored.URLWidth;
        QCOMPARE(stored, expected);
    }

    void mainWindowCaptionFollowsARename() {
        openMain();
        const QString name = QStringLiteral("Alice O'Neil");
        bool toolSeen = false, userSeen = false;
        onModal(
            "FrmTool",
            [&](QDialog *tools) {
                onModal(
                    "FrmUser",
                    [&](QDialog *user) {
                        child<QLineEdit>(user, "TxtNewUser")->setText(name);
                        click(user, "CmdOK");
                    },
                    &userSeen);
                click(tools, "CmdEditUserName");
                // The tools window stays open after the rename; the caption follows at once.
                QVERIFY(tools->isVisible());
                QCOMPARE(main->windowTitle(),
                         QStringLiteral("Fennick密码管理器 V1.0 正式版 --- 当前用户:") + name);
            },
            &toolSeen);
        click(main.get(), "CmdTool");
        QVERIFY(toolSeen && userSeen);
        QCOMPARE(env->messages.texts(),
                 QStringList{QStringLiteral("用户名已经修改,下次登陆时请使用新的用户名!")});
        QCOMPARE(main->windowTitle(),
                 QStringLiteral("Fennick密码管理器 V1.0 正式版 --- 当前用户:") + name);
        QVERIFY(main->isVisible());
        QCOMPARE(treeNodes(), namesOf(data->backupCategories(kAlice)));
        QCOMPARE(listed(), namesOf(data->backupRecords(kAlice)));
        QCOMPARE(env->settings.lastUser(), name);
    }

    void mainWindowClosesWithoutTheExitQuestionAfterADeletion() {
        openMain();
        QSignalSpy unloaded(main.get(), &FrmMain::unloaded);
        bool toolSeen = false, userSeen = false;
        onModal(
            "FrmTool",
            [&](QDialog *tools) {
                onModal(
                    "FrmUser",
                    [&](QDialog *user) {
                        child<QLineEdit>(user, "TxtLogoutPwd")->setText(passwordOf(kAlice));
                        click(user, "CmdOK");
                    },
                    &userSeen);
                click(tools, "CmdLogoutUser");
                QVERIFY(!tools->isVisible());
            },
            &toolSeen);
        env->messages.answers.push_back(MessageService::Answer::Yes);
        click(main.get(), "CmdTool");
        QVERIFY(toolSeen && userSeen);
        QCOMPARE(env->messages.texts(),
                 QStringList({"用户注销后所有资料都会删除,是否继续?", "用户已注销,请重新登录!"}));
        QCOMPARE(unloaded.count(), 1);
        QVERIFY(!main->isVisible());
        QCOMPARE(data->vault->users().names(), QStringList({kBob, kOBrien, kDArcy}));
    }
};

QTEST_MAIN(TstFrmTool)
#include "tst_frmtool.moc"
