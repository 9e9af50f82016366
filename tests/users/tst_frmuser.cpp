// The user window: renaming oneself, a new login password, and deleting oneself.
#include "../maintenance/RestoreFixture.h"
#include "TestServices.h"

#include "users/FrmUser.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace restore;
using Mode = FrmUser::Mode;

class TstFrmUser : public QObject {
    Q_OBJECT

    // o'brien is logged in; alice, bob and d'arcy share the file with him.
    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<RestoreFixture> data;
    std::unique_ptr<Session> session;
    std::unique_ptr<FrmUser> window;
    QList<Category> categoriesBefore;
    QList<QStringList> recordsBefore;
    QStringList othersBefore;

    void open(Mode mode) {
        window = std::make_unique<FrmUser>(*data->vault, *session, env->services(), mode);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QLineEdit *edit(const char *name) {
        auto *box = window->findChild<QLineEdit *>(QLatin1String(name));
        if (!box)
            qFatal("no %s", name);
        return box;
    }
    void ok() { QTest::mouseClick(window->findChild<QPushButton *>("CmdOK"), Qt::LeftButton); }
    QStringList messages() const { return env->messages.texts(); }

    // Nothing of anybody changed, and the window waits for another try.
    void verifyUnchanged() {
        QCOMPARE(data->vault->users().names(), QStringList({kAlice, kBob, kOBrien, kDArcy}));
        QCOMPARE(data->categories(kOBrien), categoriesBefore);
        QCOMPARE(data->records(kOBrien, passwordOf(kOBrien)), recordsBefore);
        QCOMPARE(data->rowsExcept(kOBrien), othersBefore);
        QCOMPARE(session->userName(), kOBrien);
        QCOMPARE(env->settings.lastUser(), kOBrien);
    }
    void verifyInformation(const QString &text) {
        QCOMPARE(messages(), QStringList{text});
        QCOMPARE(env->messages.shown.first().icon, MessageService::Icon::Information);
        QCOMPARE(env->messages.shown.first().title, QStringLiteral("提示"));
    }

private slots:
    void init() {
        env = std::make_unique<TestEnvironment>();
        data = std::make_unique<RestoreFixture>();
        session = std::make_unique<Session>(data->login(kOBrien, passwordOf(kOBrien)));
        env->settings.setLastUser(kOBrien);
        categoriesBefore = data->categories(kOBrien);
        recordsBefore = data->records(kOBrien, passwordOf(kOBrien));
        othersBefore = data->rowsExcept(kOBrien);
        QVERIFY(!recordsBefore.isEmpty());
    }
    void cleanup() {
        window.reset();
        session.reset();
        data.reset();
        env.reset();
    }

    void onlyThePanelOfTheMode_data() {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("first");
        QTest::newRow("name") << Mode::EditUser << "修改用户名"
                              << "PicUserFunction0"
                              << "TxtNewUser";
        QTest::newRow("password") << Mode::EditPassword << "修改密码"
                                  << "PicUserFunction1"
                                  << "TxtoldPwd";
        QTest::newRow("logout") << Mode::Logout << "注销用户"
                                << "PicUserFunction2"
                                << "TxtLogoutPwd";
    }
    void onlyThePanelOfTheMode() {
        QFETCH(Mode, mode);
        QFETCH(QString, title);
        QFETCH(QString, panel);
        QFETCH(QString, first);
        open(mode);
        QCOMPARE(window->windowTitle(), title);
        for (const char *name : {"PicUserFunction0", "PicUserFunction1", "PicUserFunction2"}) {
            auto *widget = window->findChild<QWidget *>(QLatin1String(name));
            QCOMPARE(widget && widget->isVisible(), panel == QLatin1String(name));
        }
        QCOMPARE(window->focusWidget()->objectName(), first);
        QVERIFY(window->findChild<QPushButton *>("CmdOK")->isDefault());
        for (QLineEdit *box : window->findChildren<QLineEdit *>()) {
            QCOMPARE(box->maxLength(), 50);
            if (box->objectName() != QLatin1String("TxtCurrentUser") &&
                box->objectName() != QLatin1String("TxtNewUser"))
                QCOMPARE(box->echoMode(), QLineEdit::Password);
        }
        if (mode == Mode::EditUser) {
            QCOMPARE(edit("TxtCurrentUser")->text(), kOBrien);
            QVERIFY(edit("TxtCurrentUser")->isReadOnly());
        }
    }

    // Correct entries, then cancelled: nothing happens.
    void cancelChangesNothing_data() {
        QTest::addColumn<Mode>("mode");
        QTest::newRow("name") << Mode::EditUser;
        QTest::newRow("password") << Mode::EditPassword;
        QTest::newRow("logout") << Mode::Logout;
    }
    void cancelChangesNothing() {
        QFETCH(Mode, mode);
        open(mode);
        // Entries that OK would accept.
        const QMap<QString, QString> typed{{"TxtNewUser", "new name"},
                                           {"TxtoldPwd", passwordOf(kOBrien)},
                                           {"TxtNewPwd", "NewPass1"},
                                           {"TxtVerifyPwd", "NewPass1"},
                                           {"TxtLogoutPwd", passwordOf(kOBrien)}};
        for (QLineEdit *box : window->findChildren<QLineEdit *>())
            if (!box->isReadOnly())
                box->setText(typed.value(box->objectName()));
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(!window->isVisible());
        QVERIFY(messages().isEmpty());
        QVERIFY(!window->userDeleted() && !window->userRenamed());
        verifyUnchanged();
        QVERIFY(data->vault->users().checkPassword(kOBrien, passwordOf(kOBrien)));
    }

    // --- the name ---

    void renameRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "请输入新用户名!";
        QTest::newRow("the current name") << "o'brien"
                                          << "用户名已存在,请重新输入!";
        QTest::newRow("the current name in capitals") << "O'Brien"
                                                      << "用户名已存在,请重新输入!";
        QTest::newRow("another user") << "bob"
                                      << "用户名已存在,请重新输入!";
        QTest::newRow("another user in capitals") << "D'ARCY"
                                                  << "用户名已存在,请重新输入!";
    }
    void renameRefused() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        open(Mode::EditUser);
        edit("TxtNewUser")->setText(name);
        ok();
        verifyInformation(message);
        QCOMPARE(window->focusWidget(), edit("TxtNewUser"));
        QCOMPARE(edit("TxtNewUser")->text(), name);
        QVERIFY(window->isVisible());
        QVERIFY(!window->userRenamed());
        verifyUnchanged();
    }

    void renamed_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::newRow("apostrophes") << "O'Brien's 'new'"
                                     << "O'Brien's 'new'";
        QTest::newRow("chinese") << "奥布莱恩"
                                 << "奥布莱恩";
        QTest::newRow("spaces count as text") << "   "
                                              << "   ";
        QTest::newRow("cut at fifty characters")
            << QString(60, QLatin1Char('n')) << QString(50, QLatin1Char('n'));
    }
    void renamed() {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        const UserSettings settings = data->vault->users().settings(kOBrien);
        open(Mode::EditUser);
        edit("TxtNewUser")->setText(typed);
        ok();
        verifyInformation(QStringLiteral("用户名已经修改,下次登陆时请使用新的用户名!"));
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QVERIFY(window->userRenamed());
        QVERIFY(!window->userDeleted());

        QCOMPARE(data->vault->users().names(), QStringList({kAlice, kBob, name, kDArcy}));
        QVERIFY(!data->vault->users().exists(kOBrien));
        QVERIFY(!data->vault->users().login(kOBrien, passwordOf(kOBrien)));
        QCOMPARE(data->categories(name), categoriesBefore);
        QVERIFY(data->categories(kOBrien).isEmpty());
        QCOMPARE(data->records(name, passwordOf(kOBrien)), recordsBefore);
        QCOMPARE(data->vault->users().settings(name), settings);
        QCOMPARE(data->rowsExcept(name), othersBefore);
        // The running session follows the new name and still reads its records.
        QCOMPARE(session->userName(), name);
        QCOMPARE(RecordStore(*data->vault, *session).all().size(), size_t(recordsBefore.size()));
        QCOMPARE(env->settings.lastUser(), name);
        QVERIFY(data->vault->users().unlock(*session, passwordOf(kOBrien)));
    }

    // --- the password ---

    void passwordRefused_data() {
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("verify");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("emptied"); // both new boxes
        const QString right = passwordOf(kOBrien);
        QTest::newRow("old of five characters") << "o'bri"
                                                << "NewPass1"
                                                << "NewPass1"
                                                << "原始密码长度不能小于6位."
                                                << "TxtoldPwd" << false;
        QTest::newRow("old empty") << ""
                                   << "NewPass1"
                                   << "NewPass1"
                                   << "原始密码长度不能小于6位."
                                   << "TxtoldPwd" << false;
        QTest::newRow("old wrong") << "o'brien's pW"
                                   << "NewPass1"
                                   << "NewPass1"
                                   << "原始密码错误,请重新输入!"
                                   << "TxtoldPwd" << false;
        QTest::newRow("old is another user's") << passwordOf(kBob) << "NewPass1"
                                               << "NewPass1"
                                               << "原始密码错误,请重新输入!"
                                               << "TxtoldPwd" << false;
        QTest::newRow("mismatch") << right << "NewPass1"
                                  << "NewPass2"
                                  << "两次输入的密码不一致,请重新输入!"
                                  << "TxtNewPwd" << true;
        QTest::newRow("mismatch comes before the length") << right << "abc"
                                                          << "abd"
                                                          << "两次输入的密码不一致,请重新输入!"
                                                          << "TxtNewPwd" << true;
        QTest::newRow("new of five characters") << right << "abcde"
                                                << "abcde"
                                                << "新密码长度不能小于6位."
                                                << "TxtNewPwd" << false;
        QTest::newRow("new empty") << right << ""
                                   << ""
                                   << "新密码长度不能小于6位."
                                   << "TxtNewPwd" << false;
    }
    void passwordRefused() {
        QFETCH(QString, old);
        QFETCH(QString, fresh);
        QFETCH(QString, verify);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(bool, emptied);
        open(Mode::EditPassword);
        edit("TxtoldPwd")->setText(old);
        edit("TxtNewPwd")->setText(fresh);
        edit("TxtVerifyPwd")->setText(verify);
        edit("TxtVerifyPwd")->setFocus();
        ok();
        verifyInformation(message);
        QCOMPARE(window->focusWidget()->objectName(), focus);
        QCOMPARE(edit("TxtoldPwd")->text(), old);
        QCOMPARE(edit("TxtNewPwd")->text(), emptied ? QString() : fresh);
        QCOMPARE(edit("TxtVerifyPwd")->text(), emptied ? QString() : verify);
        QVERIFY(window->isVisible());
        verifyUnchanged();
        QVERIFY(data->vault->users().checkPassword(kOBrien, passwordOf(kOBrien)));
    }

    // A correct login password of five characters (older files allowed them) is still refused
    // for its length: the length comes before any comparison.
    void shortOldPasswordIsRefusedEvenWhenRight() {
        data->vault->users().changePassword(data->login(kOBrien, passwordOf(kOBrien)),
                                            QStringLiteral("12345"));
        open(Mode::EditPassword);
        edit("TxtoldPwd")->setText(QStringLiteral("12345"));
        edit("TxtNewPwd")->setText(QStringLiteral("NewPass1"));
        edit("TxtVerifyPwd")->setText(QStringLiteral("NewPass1"));
        ok();
        verifyInformation(QStringLiteral("原始密码长度不能小于6位."));
        QVERIFY(data->vault->users().checkPassword(kOBrien, QStringLiteral("12345")));
    }

    void passwordChanged_data() {
        QTest::addColumn<QString>("fresh");
        QTest::newRow("six characters") << "123456";
        QTest::newRow("fifty characters, apostrophes") << QString(48, QLatin1Char('x')) + "''";
        QTest::newRow("chinese") << "新的密码口令";
    }
    void passwordChanged() {
        QFETCH(QString, fresh);
        open(Mode::EditPassword);
        edit("TxtoldPwd")->setText(passwordOf(kOBrien));
        edit("TxtNewPwd")->setText(fresh);
        edit("TxtVerifyPwd")->setText(fresh);
        ok();
        verifyInformation(QStringLiteral("密码修改成功,请牢记密码!"));
        QCOMPARE(window->result(), int(QDialog::Accepted));

        UserStore users = data->vault->users();
        QVERIFY(!users.login(kOBrien, passwordOf(kOBrien)));
        QVERIFY(!users.checkPassword(kOBrien, passwordOf(kOBrien)));
        QVERIFY(users.checkPassword(kOBrien, fresh));
        // No record was touched: the running session and a fresh login both read them all.
        QCOMPARE(RecordStore(*data->vault, *session).all().size(), size_t(recordsBefore.size()));
        RecordStore running(*data->vault, *session);
        for (const Record &r : running.all())
            QVERIFY(!running.password(r).isNull());
        QCOMPARE(data->records(kOBrien, fresh), recordsBefore);
        QCOMPARE(data->categories(kOBrien), categoriesBefore);
        QCOMPARE(data->rowsExcept(kOBrien), othersBefore);
        // The unlock window takes the new password too.
        session->lock();
        QVERIFY(!users.unlock(*session, passwordOf(kOBrien)));
        QVERIFY(users.unlock(*session, fresh));
        QCOMPARE(env->settings.lastUser(), kOBrien);
    }

    // --- deleting oneself ---

    void logout_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<MessageService::Answer>("answer");
        QTest::addColumn<QString>("refusal"); // empty: the question is asked
        QTest::addColumn<bool>("deleted");
        QTest::newRow("five characters")
            << "o'bri" << MessageService::Answer::Yes << "用户密码长度不能小于6位." << false;
        QTest::newRow("right but short of its last character")
            << passwordOf(kOBrien).left(5) << MessageService::Answer::Yes
            << "用户密码长度不能小于6位." << false;
        QTest::newRow("wrong") << "o'brien's pW" << MessageService::Answer::Yes
                               << "用户密码错误,请重新输入!" << false;
        QTest::newRow("another user's") << passwordOf(kAlice) << MessageService::Answer::Yes
                                        << "用户密码错误,请重新输入!" << false;
        QTest::newRow("declined") << passwordOf(kOBrien) << MessageService::Answer::No << ""
                                  << false;
        QTest::newRow("confirmed")
            << passwordOf(kOBrien) << MessageService::Answer::Yes << "" << true;
    }
    void logout() {
        QFETCH(QString, password);
        QFETCH(MessageService::Answer, answer);
        QFETCH(QString, refusal);
        QFETCH(bool, deleted);
        open(Mode::Logout);
        edit("TxtLogoutPwd")->setText(password);
        env->messages.answers.push_back(answer);
        ok();
        QCOMPARE(window->userDeleted(), deleted);
        if (!refusal.isEmpty()) {
            verifyInformation(refusal);
            QCOMPARE(window->focusWidget(), edit("TxtLogoutPwd"));
        } else {
            const RecordingMessageService::Shown &question = env->messages.shown.first();
            QCOMPARE(question.text, QStringLiteral("用户注销后所有资料都会删除,是否继续?"));
            QCOMPARE(question.title, QStringLiteral("警告"));
            QCOMPARE(question.icon, MessageService::Icon::Exclamation);
        }
        if (!deleted) {
            QCOMPARE(env->messages.shown.size(), 1);
            QVERIFY(window->isVisible());
            verifyUnchanged();
            return;
        }
        QCOMPARE(messages().size(), 2);
        QCOMPARE(messages().last(), QStringLiteral("用户已注销,请重新登录!"));
        QCOMPARE(env->messages.shown.last().icon, MessageService::Icon::Information);
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(data->vault->users().names(), QStringList({kAlice, kBob, kDArcy}));
        QVERIFY(data->categories(kOBrien).isEmpty());
        sql::Statement left = data->vault->connection().prepare(
            "SELECT count(*) FROM AccountData WHERE UserName = ?1");
        left.bind(1, kOBrien);
        QVERIFY(left.step());
        QCOMPARE(left.integer(0), 0);
        QCOMPARE(data->rowsExcept(kOBrien), othersBefore);
        QVERIFY(env->settings.lastUser().isEmpty());
        QVERIFY(!data->vault->users().login(kOBrien, passwordOf(kOBrien)));
    }
};

QTEST_MAIN(TstFrmUser)
#include "tst_frmuser.moc"
