#include "TestServices.h"

#include "users/FrmLogin.h"
#include "users/FrmNewUser.h"
#include "users/Session.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class TstFrmLogin : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<Vault> vault;
    std::unique_ptr<FrmLogin> window;

    QComboBox *users() { return window->findChild<QComboBox *>("CbUser"); }
    QLineEdit *pass() { return window->findChild<QLineEdit *>("TxtPass"); }
    void addUser(const QString &name) {
        vault->users().registerUser(name, QStringLiteral("Secret1"), QDate(2026, 1, 1),
                                    env->folder.path());
    }
    void open() {
        window = std::make_unique<FrmLogin>(*vault, env->services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void login(const QString &password) {
        pass()->setText(password);
        QTest::mouseClick(window->findChild<QPushButton *>("CmdLogin"), Qt::LeftButton);
    }

private slots:
    void init() {
        env = std::make_unique<TestEnvironment>();
        Vault::create(env->dataFile());
        vault = Vault::open(env->dataFile());
        vault->setKdfParams(crypto::KdfParams::minimal());
    }
    void cleanup() {
        window.reset();
        vault.reset();
        env.reset();
    }

    void controls() {
        open();
        QCOMPARE(window->windowTitle(), QStringLiteral("登录"));
        QVERIFY(!users()->isEditable());
        QCOMPARE(pass()->echoMode(), QLineEdit::Password);
        QCOMPARE(pass()->maxLength(), 50);
        QVERIFY(window->findChild<QPushButton *>("CmdLogin")->isDefault());
        QCOMPARE(window->findChild<QPushButton *>("CmdRegNewUser")->text(),
                 QStringLiteral("注册新用户(&N)"));
        QVERIFY(window->findChild<QWidget *>("PicLogo"));
        QVERIFY(window->findChild<QWidget *>("PicOther"));
    }

    void noUsersAsksForARegistration() {
        open();
        QCOMPARE(users()->count(), 0);
        login(QStringLiteral("x"));
        QCOMPARE(env->messages.texts(), QStringList{QStringLiteral("请注册新用户!")});
    }

    void forgottenNameSelectsNothing() {
        addUser(QStringLiteral("alice"));
        env->settings.setLastUser(QStringLiteral("gone"));
        open();
        QCOMPARE(users()->currentIndex(), -1);
        login(QStringLiteral("Secret1"));
        QCOMPARE(env->messages.texts(), QStringList{QStringLiteral("请选择用户!")});
    }

    void rememberedNameIsSelectedAndPasswordFocused() {
        addUser(QStringLiteral("alice"));
        addUser(QStringLiteral("bob"));
        env->settings.setLastUser(QStringLiteral("bob"));
        open();
        QCOMPARE(users()->currentText(), QStringLiteral("bob"));
        QTRY_COMPARE(QApplication::focusWidget(), pass());
    }

    void emptyPassword() {
        addUser(QStringLiteral("alice"));
        env->settings.setLastUser(QStringLiteral("alice"));
        open();
        window->findChild<QPushButton *>("CmdLogin")->setFocus();
        login(QString());
        QCOMPARE(env->messages.texts(), QStringList{QStringLiteral("请输入密码!")});
        QCOMPARE(QApplication::focusWidget(), pass());
    }

    void successfulLogin_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "alice";
        QTest::newRow("apostrophe") << "o'brien";
        QTest::newRow("chinese") << "张三";
    }
    void successfulLogin() {
        QFETCH(QString, name);
        addUser(QStringLiteral("first"));
        addUser(name);
        env->settings.setLastUser(name);
        open();
        QSignalSpy loggedIn(window.get(), &FrmLogin::loggedIn);
        QSignalSpy ended(window.get(), &FrmLogin::closedWithoutLogin);
        login(QStringLiteral("Secret1"));
        QVERIFY(env->messages.shown.isEmpty());
        QCOMPARE(loggedIn.count(), 1);
        const auto session = loggedIn.first().first().value<std::shared_ptr<Session>>();
        QCOMPARE(session->userName(), name);
        QCOMPARE(env->settings.lastUser(), name);
        QVERIFY(!window->isVisible());
        QCOMPARE(ended.count(), 0);
        QVERIFY(pass()->text().isEmpty());
    }

    void threeWrongPasswordsEnd() {
        addUser(QStringLiteral("alice"));
        addUser(QStringLiteral("bob"));
        open();
        QSignalSpy ended(window.get(), &FrmLogin::closedWithoutLogin);
        users()->setCurrentIndex(0);
        login(QStringLiteral("secret1")); // case matters
        QCOMPARE(env->messages.last(), QStringLiteral("用户密码错误,请重新输入!"));
        QCOMPARE(pass()->text(), QStringLiteral("secret1"));
        QCOMPARE(QApplication::focusWidget(), pass());
        login(QStringLiteral("wrong"));
        QVERIFY(window->isVisible());
        // The count runs over all users.
        users()->setCurrentIndex(1);
        login(QStringLiteral("Secret11"));
        QCOMPARE(env->messages.texts(),
                 QStringList({QStringLiteral("用户密码错误,请重新输入!"),
                              QStringLiteral("用户密码错误,请重新输入!"),
                              QStringLiteral("登录密码错误次数已超过3次,软件将自动关闭!")}));
        QVERIFY(!window->isVisible());
        QCOMPARE(ended.count(), 1);
    }

    void escapeEndsWithoutLogin() {
        open();
        QSignalSpy ended(window.get(), &FrmLogin::closedWithoutLogin);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QCOMPARE(ended.count(), 1);
        QVERIFY(!window->isVisible());
    }

    void cancelButtonEndsWithoutLogin() {
        open();
        QSignalSpy ended(window.get(), &FrmLogin::closedWithoutLogin);
        QTest::mouseClick(window->findChild<QPushButton *>("CmdCancel"), Qt::LeftButton);
        QCOMPARE(ended.count(), 1);
    }

    void registrationSelectsTheNewUser() {
        addUser(QStringLiteral("alice"));
        env->settings.setLastUser(QStringLiteral("alice"));
        open();
        pass()->setText(QStringLiteral("typed"));
        QTimer::singleShot(0, this, [] {
            auto *dialog = qobject_cast<FrmNewUser *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->findChild<QLineEdit *>("TxtUser")->setText(QStringLiteral("bob"));
            dialog->findChild<QLineEdit *>("TxtPass")->setText(QStringLiteral("abcdef"));
            dialog->findChild<QLineEdit *>("TxtVerifyPass")->setText(QStringLiteral("abcdef"));
            QTest::mouseClick(dialog->findChild<QPushButton *>("CmdOK"), Qt::LeftButton);
        });
        QTest::mouseClick(window->findChild<QPushButton *>("CmdRegNewUser"), Qt::LeftButton);
        QCOMPARE(users()->count(), 2);
        QCOMPARE(users()->currentText(), QStringLiteral("bob"));
        QVERIFY(pass()->text().isEmpty());
        QCOMPARE(window->focusWidget(), pass());
        login(QStringLiteral("abcdef"));
        QCOMPARE(env->settings.lastUser(), QStringLiteral("bob"));
    }
};

QTEST_MAIN(TstFrmLogin)
#include "tst_frmlogin.moc"
