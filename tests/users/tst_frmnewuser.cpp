#include "TestServices.h"

#include "records/CategoryStore.h"
#include "ui/StrengthMeter.h"
#include "users/FrmNewUser.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TstFrmNewUser : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<Vault> vault;
    std::unique_ptr<FrmNewUser> window;

    QLineEdit *edit(const char *name) { return window->findChild<QLineEdit *>(name); }
    void fill(const QString &user, const QString &pass, const QString &verify) {
        edit("TxtUser")->setText(user);
        edit("TxtPass")->setText(pass);
        edit("TxtVerifyPass")->setText(verify);
    }
    void ok() { QTest::mouseClick(window->findChild<QPushButton *>("CmdOK"), Qt::LeftButton); }

private slots:
    void init() {
        env = std::make_unique<TestEnvironment>();
        Vault::create(env->dataFile());
        vault = Vault::open(env->dataFile());
        vault->setKdfParams(crypto::KdfParams::minimal());
        window = std::make_unique<FrmNewUser>(*vault, env->services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        window.reset();
        vault.reset();
        env.reset();
    }

    void controlsAndCaptions() {
        QCOMPARE(window->windowTitle(), QStringLiteral("注册新用户"));
        for (const char *name : {"TxtUser", "TxtPass", "TxtVerifyPass"})
            QCOMPARE(edit(name)->maxLength(), 50);
        QCOMPARE(edit("TxtPass")->echoMode(), QLineEdit::Password);
        QCOMPARE(edit("TxtVerifyPass")->echoMode(), QLineEdit::Password);
        QCOMPARE(window->findChild<QLabel *>("lblTip")->text(),
                 QStringLiteral("提示:请牢记密码.如果密码丢失将不能进入系统."));
        QCOMPARE(window->findChild<QLabel *>("lblStrength")->text(), QStringLiteral("弱"));
        QVERIFY(window->findChild<QPushButton *>("CmdOK")->isDefault());
        QVERIFY(window->findChild<QWidget *>("ShapePass"));
    }

    void refusals_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("verify");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("userAfter");
        QTest::addColumn<QString>("passAfter");
        QTest::addColumn<QString>("focus");
        QTest::newRow("empty name") << ""
                                    << "secret1"
                                    << "secret1"
                                    << "请输入用户名!"
                                    << ""
                                    << "secret1"
                                    << "";
        QTest::newRow("spaces only") << "   "
                                     << "secret1"
                                     << "secret1"
                                     << "请输入用户名!"
                                     << "   "
                                     << "secret1"
                                     << "";
        QTest::newRow("mismatch") << "bob"
                                  << "secret1"
                                  << "secret2"
                                  << "两次输入的密码不一致,请重新输入!"
                                  << "bob"
                                  << ""
                                  << "TxtPass";
        QTest::newRow("short mismatch") << "bob"
                                        << "a"
                                        << "b"
                                        << "两次输入的密码不一致,请重新输入!"
                                        << "bob"
                                        << ""
                                        << "TxtPass";
        QTest::newRow("both empty") << "bob"
                                    << ""
                                    << ""
                                    << "密码长度不能小于6位."
                                    << "bob"
                                    << ""
                                    << "";
        QTest::newRow("five") << "bob"
                              << "12345"
                              << "12345"
                              << "密码长度不能小于6位."
                              << "bob"
                              << "12345"
                              << "";
        QTest::newRow("existing") << "alice"
                                  << "secret1"
                                  << "secret1"
                                  << "该用户已存在.请重新输入!"
                                  << ""
                                  << "secret1"
                                  << "TxtUser";
        QTest::newRow("existing, other case") << "ALICE"
                                              << "secret1"
                                              << "secret1"
                                              << "该用户已存在.请重新输入!"
                                              << ""
                                              << "secret1"
                                              << "TxtUser";
    }
    void refusals() {
        QFETCH(QString, user);
        QFETCH(QString, pass);
        QFETCH(QString, verify);
        QFETCH(QString, message);
        QFETCH(QString, userAfter);
        QFETCH(QString, passAfter);
        QFETCH(QString, focus);
        vault->users().registerUser(QStringLiteral("alice"), QStringLiteral("secret1"),
                                    QDate(2026, 1, 1), env->folder.path());
        fill(user, pass, verify);
        ok();
        QCOMPARE(env->messages.texts(), QStringList{message});
        QCOMPARE(env->messages.shown.first().title, QStringLiteral("提示"));
        QCOMPARE(edit("TxtUser")->text(), userAfter);
        QCOMPARE(edit("TxtPass")->text(), passAfter);
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget(), edit(focus.toLatin1().constData()));
        QVERIFY(window->isVisible());
        QVERIFY(window->newUserName().isEmpty());
        QCOMPARE(vault->users().names(), QStringList{QStringLiteral("alice")});
    }

    void registersWithDefaults() {
        const QString name = QStringLiteral(" o'brien ");
        fill(name, QStringLiteral("123456"), QStringLiteral("123456"));
        ok();
        QCOMPARE(env->messages.texts(), QStringList{QStringLiteral("注册成功,请登录!")});
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QCOMPARE(window->newUserName(), name);
        QCOMPARE(vault->users().names(), QStringList{name}); // spaces kept as typed
        QCOMPARE(vault->categories(name).list().size(), std::size_t(9));
        const UserSettings settings = vault->users().settings(name);
        QCOMPARE(settings.PriorBackupDate, env->clock.today());
        QVERIFY(vault->users().login(name, QStringLiteral("123456")).has_value());
    }

    void cancelWritesNothing() {
        fill(QStringLiteral("carol"), QStringLiteral("123456"), QStringLiteral("123456"));
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(window->newUserName().isEmpty());
        QVERIFY(vault->users().names().isEmpty());
        QVERIFY(env->messages.shown.isEmpty());
    }

    void enterRegisters() {
        fill(QStringLiteral("dave"), QStringLiteral("123456"), QStringLiteral("123456"));
        QTest::keyClick(edit("TxtVerifyPass"), Qt::Key_Return);
        QCOMPARE(window->newUserName(), QStringLiteral("dave"));
    }

    void meterFollowsThePasswordBox() {
        QTest::keyClicks(edit("TxtPass"), QStringLiteral("abc123"));
        QCOMPARE(window->findChild<QLabel *>("lblStrength")->text(), QStringLiteral("中"));
        QTest::keyClicks(edit("TxtPass"), QStringLiteral("!"));
        QCOMPARE(window->findChild<QLabel *>("lblStrength")->text(), QStringLiteral("强"));
        // The confirmation box has no meter.
        edit("TxtVerifyPass")->setText(QStringLiteral("a"));
        QCOMPARE(window->findChild<QLabel *>("lblStrength")->text(), QStringLiteral("强"));
    }
};

QTEST_MAIN(TstFrmNewUser)
#include "tst_frmnewuser.moc"
