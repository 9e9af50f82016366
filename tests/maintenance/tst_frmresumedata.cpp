// The restore window: one user of a backup chosen and proved, then restored into alice.
#include "RestoreFixture.h"
#include "TestServices.h"
#include "TestWidgets.h"

#include "maintenance/FrmResumeData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace restore;

class TstFrmResumeData : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<RestoreFixture> data;
    std::unique_ptr<Session> alice;
    std::unique_ptr<BackupFile> backup;
    std::unique_ptr<FrmResumeData> window;
    FileState backupBefore;
    QList<Category> categoriesBefore;
    QList<QStringList> recordsBefore;
    QStringList othersBefore;

    template <typename T> T *child(const char *name) {
        return testwidgets::child<T>(window.get(), name);
    }
    QComboBox *users() { return child<QComboBox>("CbUser"); }
    QLineEdit *password() { return child<QLineEdit>("TxtPass"); }
    QCheckBox *keepSettings() { return child<QCheckBox>("ChkUserSet"); }
    void choose(const QString &user, const QString &typed) {
        users()->setCurrentIndex(users()->findText(user));
        password()->setText(typed);
    }
    void resume() { QTest::mouseClick(child<QPushButton>("CmdResume"), Qt::LeftButton); }
    // Closes the window and the backup as the tools window does.
    void close() {
        window.reset();
        backup.reset();
    }

    void verifyAliceUnchanged() {
        QCOMPARE(data->categories(kAlice), categoriesBefore);
        QCOMPARE(data->records(kAlice, passwordOf(kAlice)), recordsBefore);
        QCOMPARE(data->vault->users().settings(kAlice), settingsOf(kAlice));
        QCOMPARE(data->rowsExcept(kAlice), othersBefore);
    }
    void verifyQuestion(int at, const QString &text) {
        QVERIFY(at < env->messages.shown.size());
        const RecordingMessageService::Shown &shown = env->messages.shown.at(at);
        QCOMPARE(shown.text, text);
        QCOMPARE(shown.title, QStringLiteral("提示"));
        QCOMPARE(shown.icon, MessageService::Icon::Question);
    }

private slots:
    void init() {
        env = std::make_unique<TestEnvironment>();
        data = std::make_unique<RestoreFixture>();
        alice = std::make_unique<Session>(data->login(kAlice, passwordOf(kAlice)));
        backupBefore = stateOf(data->backupPath);
        categoriesBefore = data->categories(kAlice);
        recordsBefore = data->records(kAlice, passwordOf(kAlice));
        othersBefore = data->rowsExcept(kAlice);
        backup = BackupFile::open(data->backupPath, data->dataFolder);
        window = std::make_unique<FrmResumeData>(*backup, *data->vault, *alice, env->services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        close();
        alice.reset();
        data.reset();
        env.reset();
    }

    void showsTheBackupsUsersWithNoneChosen() {
        QCOMPARE(window->windowTitle(), QStringLiteral("恢复数据"));
        QStringList names;
        for (int i = 0; i < users()->count(); ++i)
            names << users()->itemText(i);
        QCOMPARE(names, QStringList({kAlice, kBob, kOBrien, kDArcy}));
        QCOMPARE(users()->currentIndex(), -1);
        QVERIFY(!users()->isEditable());
        QCOMPARE(password()->echoMode(), QLineEdit::Password);
        QCOMPARE(password()->maxLength(), 50);
        QVERIFY(keepSettings()->isChecked());
        QCOMPARE(keepSettings()->text(), QStringLiteral("保留用户配置"));
        QCOMPARE(child<QLabel>("lblTips")->text(),
                 QStringLiteral("请选择备份文件中要恢复数据的用户名."));
        QVERIFY(child<QPushButton>("CmdResume")->isDefault());
    }

    void refused_data() {
        QTest::addColumn<QString>("user"); // empty: none chosen
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QList<MessageService::Answer>>("answers");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("focusOnPassword");
        using A = MessageService::Answer;
        const QString overwrite = QStringLiteral("恢复数据将会覆盖现有的数据,是否继续?");
        const QString wrong = QStringLiteral("用户密码错误,请重新输入!");
        QTest::newRow("no user chosen")
            << "" << passwordOf(kBob) << true << QList<A>{} << QStringList{"请选择用户!"} << false;
        QTest::newRow("no password")
            << kBob << "" << true << QList<A>{} << QStringList{"请输入密码!"} << true;
        QTest::newRow("alice's own password")
            << kBob << passwordOf(kAlice) << true << QList<A>{} << QStringList{wrong} << true;
        QTest::newRow("bob's password of today")
            << kBob << kBobLivePassword << true << QList<A>{} << QStringList{wrong} << true;
        QTest::newRow("another backup user's password")
            << kOBrien << passwordOf(kBob) << true << QList<A>{} << QStringList{wrong} << true;
        QTest::newRow("overwrite declined") << kBob << passwordOf(kBob) << true << QList<A>{A::No}
                                            << QStringList{overwrite} << false;
        QTest::newRow("overwrite declined, settings not kept")
            << kBob << passwordOf(kBob) << false << QList<A>{A::No} << QStringList{overwrite}
            << false;
        QTest::newRow("settings declined")
            << kOBrien << passwordOf(kOBrien) << false << QList<A>{A::Yes, A::No}
            << QStringList{overwrite, "确定覆盖用户配置吗?"} << false;
    }
    void refused() {
        QFETCH(QString, user);
        QFETCH(QString, typed);
        QFETCH(bool, keep);
        QFETCH(QList<MessageService::Answer>, answers);
        QFETCH(QStringList, shown);
        QFETCH(bool, focusOnPassword);
        choose(user, typed);
        keepSettings()->setChecked(keep);
        for (MessageService::Answer answer : answers)
            env->messages.answers.push_back(answer);
        resume();
        QCOMPARE(env->messages.texts(), shown);
        if (answers.isEmpty()) {
            QCOMPARE(env->messages.shown.first().icon, MessageService::Icon::Information);
            QCOMPARE(env->messages.shown.first().title, QStringLiteral("提示"));
        } else {
            for (int i = 0; i < shown.size(); ++i)
                verifyQuestion(i, shown.at(i));
        }
        if (focusOnPassword)
            QCOMPARE(window->focusWidget(), password());
        QVERIFY(window->isVisible());
        QVERIFY(!window->restored());
        verifyAliceUnchanged();
        QCOMPARE(stateOf(data->backupPath), backupBefore);

        // Cancelled afterwards: the backup is the file it was, and the private copy is gone.
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        close();
        QCOMPARE(stateOf(data->backupPath), backupBefore);
        QVERIFY(!QFileInfo::exists(data->workFolder));
        verifyAliceUnchanged();
    }

    void restored_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("keep");
        QTest::newRow("bob, settings kept") << kBob << true;
        QTest::newRow("bob, settings replaced") << kBob << false;
        QTest::newRow("o'brien, settings kept") << kOBrien << true;
        QTest::newRow("o'brien, settings replaced") << kOBrien << false;
    }
    void restored() {
        QFETCH(QString, user);
        QFETCH(bool, keep);
        choose(user, passwordOf(user));
        keepSettings()->setChecked(keep);
        resume();
        QStringList expected{QStringLiteral("恢复数据将会覆盖现有的数据,是否继续?")};
        if (!keep)
            expected << QStringLiteral("确定覆盖用户配置吗?");
        expected << QStringLiteral("数据恢复成功!");
        QCOMPARE(env->messages.texts(), expected);
        QCOMPARE(env->messages.shown.last().icon, MessageService::Icon::Information);
        QVERIFY(window->restored());
        QCOMPARE(window->result(), int(QDialog::Accepted));

        QCOMPARE(data->categories(kAlice), data->backupCategories(user));
        QCOMPARE(data->records(kAlice, passwordOf(kAlice)), data->backupRecords(user));
        QCOMPARE(data->vault->users().settings(kAlice),
                 keep ? settingsOf(kAlice) : settingsOf(user));
        QCOMPARE(data->rowsExcept(kAlice), othersBefore);
        // alice keeps her name and her login password, and her session reads the new records.
        QVERIFY(data->vault->users().checkPassword(kAlice, passwordOf(kAlice)));
        RecordStore running(*data->vault, *alice);
        QCOMPARE(running.all().size(), size_t(data->backupRecords(user).size()));
        for (const Record &r : running.all())
            QVERIFY(!running.password(r).isNull());

        close();
        QCOMPARE(stateOf(data->backupPath), backupBefore);
        QVERIFY(!QFileInfo::exists(data->workFolder));
    }

    // The live file is copied before the restore, so a wrong restore can itself be undone.
    void aWrongRestoreIsUndoneFromTheCopyTakenBeforeIt() {
        choose(kBob, passwordOf(kBob));
        resume();
        QVERIFY(window->restored());
        close();
        const QString before =
            data->folder.filePath(QStringLiteral("SystemDataBackup-2026-12-10-恢复前.dat"));
        QVERIFY(QFileInfo(before).isFile());
        QCOMPARE(QFile(before).permissions() & 0x0077, QFileDevice::Permissions());
        auto undo = BackupFile::open(before, data->dataFolder);
        undo->restoreInto(*data->vault, *alice, kAlice, passwordOf(kAlice), true);
        verifyAliceUnchanged();
    }

    void noRestoreWithoutTheCopyBeforeIt() {
        // A folder where the copy would go.
        QVERIFY(QDir().mkpath(
            data->folder.filePath(QStringLiteral("SystemDataBackup-2026-12-10-恢复前.dat"))));
        choose(kBob, passwordOf(kBob));
        resume();
        QCOMPARE(env->messages.shown.size(), 2);
        QCOMPARE(env->messages.shown.last().icon, MessageService::Icon::Exclamation);
        QVERIFY(env->messages.last().startsWith(
            QStringLiteral("恢复前无法备份现有的数据,现有数据没有改动.")));
        QVERIFY(!window->restored());
        QVERIFY(window->isVisible());
        verifyAliceUnchanged();
    }

    // A wrong password leaves the window open for another try, which may succeed.
    void anotherTryAfterAWrongPassword() {
        choose(kBob, kBobLivePassword);
        resume();
        QCOMPARE(env->messages.texts(), QStringList{QStringLiteral("用户密码错误,请重新输入!")});
        QCOMPARE(password()->text(), kBobLivePassword);
        password()->setText(passwordOf(kBob));
        resume();
        QCOMPARE(env->messages.last(), QStringLiteral("数据恢复成功!"));
        QCOMPARE(data->records(kAlice, passwordOf(kAlice)), data->backupRecords(kBob));
    }
};

QTEST_MAIN(TstFrmResumeData)
#include "tst_frmresumedata.moc"
