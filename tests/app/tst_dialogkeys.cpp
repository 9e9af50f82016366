// What every window does alike. Enter and Esc: Enter on a focused button presses that button,
// Enter anywhere else presses the window's default button (the settings and tools windows have
// none), Esc cancels. Password boxes show a "*" for each character.
#include "../maintenance/RestoreFixture.h"
#include "../records/MainWindowFixture.h"
#include "TestServices.h"
#include "TestWidgets.h"

#include "maintenance/FrmResumeData.h"
#include "maintenance/FrmTool.h"
#include "records/FrmAbout.h"
#include "records/FrmData.h"
#include "records/FrmFind.h"
#include "settings/FrmSetting.h"
#include "users/FrmLogin.h"
#include "users/FrmLoosenLock.h"
#include "users/FrmNewUser.h"
#include "users/FrmUser.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace restore;

using testwidgets::child;

class TstDialogKeys : public QObject {
    Q_OBJECT

    // alice is logged in; the windows of the main window's fixture are opened on their own.
    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<RestoreFixture> data;
    std::unique_ptr<Session> alice;
    std::unique_ptr<BackupFile> backup;
    std::unique_ptr<QWidget> dialog;
    std::unique_ptr<MainWindowFixture> main;

    qint64 aliceRecord() { return data->vault->records(*alice).all().front().id; }

    QWidget *create(const QString &name) {
        const Services services = env->services();
        Vault &vault = *data->vault;
        if (name == "FrmMain") {
            main = std::make_unique<MainWindowFixture>();
            main->window =
                std::make_unique<FrmMain>(*main->data->vault, main->alice, main->env->services());
            return main->window.get();
        }
        if (name == "FrmLogin")
            dialog = std::make_unique<FrmLogin>(vault, services);
        else if (name == "FrmNewUser")
            dialog = std::make_unique<FrmNewUser>(vault, services);
        else if (name == "FrmLoosenLock")
            dialog = std::make_unique<FrmLoosenLock>(vault, *alice, services);
        else if (name == "FrmUser edituser")
            dialog = std::make_unique<FrmUser>(vault, *alice, services, FrmUser::Mode::EditUser);
        else if (name == "FrmUser editpassword")
            dialog =
                std::make_unique<FrmUser>(vault, *alice, services, FrmUser::Mode::EditPassword);
        else if (name == "FrmUser logout")
            dialog = std::make_unique<FrmUser>(vault, *alice, services, FrmUser::Mode::Logout);
        else if (name == "FrmData add")
            dialog = std::make_unique<FrmData>(vault, *alice, services, FrmData::Mode::Add, 0,
                                               QString());
        else if (name == "FrmData edit")
            dialog = std::make_unique<FrmData>(vault, *alice, services, FrmData::Mode::Edit,
                                               aliceRecord(), QString());
        else if (name == "FrmData look")
            dialog = std::make_unique<FrmData>(vault, *alice, services, FrmData::Mode::Look,
                                               aliceRecord(), QString());
        else if (name == "FrmFind")
            dialog = std::make_unique<FrmFind>(QStringList{QStringLiteral("其它")}, services);
        else if (name == "FrmSetting")
            dialog = std::make_unique<FrmSetting>(vault, kAlice, services);
        else if (name == "FrmTool")
            dialog = std::make_unique<FrmTool>(vault, *alice, services, nullptr);
        else if (name == "FrmResumeData") {
            backup = BackupFile::open(data->backupPath, data->dataFolder);
            dialog = std::make_unique<FrmResumeData>(*backup, vault, *alice, services);
        } else if (name == "FrmAbout")
            dialog = std::make_unique<FrmAbout>();
        else
            qFatal("no window %s", qPrintable(name));
        return dialog.get();
    }
    QWidget *open(const QString &name) {
        QWidget *window = create(name);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            qFatal("%s is not active", qPrintable(name));
        return window;
    }

private slots:
    void init() {
        env = std::make_unique<TestEnvironment>();
        data = std::make_unique<RestoreFixture>();
        alice = std::make_unique<Session>(data->login(kAlice, passwordOf(kAlice)));
    }
    void cleanup() {
        dialog.reset();
        main.reset();
        backup.reset();
        alice.reset();
        data.reset();
        env.reset();
    }

    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("pressed"); // the button the key pressed, empty: none
        QTest::addColumn<bool>("closes");

        const int enter = Qt::Key_Return;
        const int keypadEnter = Qt::Key_Enter;
        const int esc = Qt::Key_Escape;
        struct Case {
            const char *window;
            const char *focus;
            int key;
            const char *pressed;
            bool closes;
        };
        const Case cases[] = {
            {"FrmLogin", "CmdLogin", enter, "CmdLogin", false},
            {"FrmLogin", "CmdRegNewUser", enter, "CmdRegNewUser", false},
            {"FrmLogin", "CmdCancel", enter, "CmdCancel", true},
            {"FrmLogin", "CmdCancel", keypadEnter, "CmdCancel", true},
            {"FrmLogin", "TxtPass", enter, "CmdLogin", false},
            {"FrmLogin", "TxtPass", esc, "", true},
            {"FrmNewUser", "CmdOK", enter, "CmdOK", false},
            {"FrmNewUser", "CmdCancel", enter, "CmdCancel", true},
            {"FrmNewUser", "TxtUser", enter, "CmdOK", false},
            {"FrmNewUser", "TxtUser", esc, "", true},
            {"FrmLoosenLock", "CmdUntie", enter, "CmdUntie", false},
            {"FrmLoosenLock", "CmdCancel", enter, "CmdCancel", true},
            {"FrmLoosenLock", "TxtPwd", enter, "CmdUntie", false},
            {"FrmLoosenLock", "TxtPwd", esc, "", true},
            {"FrmUser edituser", "CmdOK", enter, "CmdOK", false},
            {"FrmUser edituser", "CmdCancel", enter, "CmdCancel", true},
            {"FrmUser edituser", "TxtNewUser", enter, "CmdOK", false},
            {"FrmUser edituser", "TxtNewUser", esc, "", true},
            {"FrmUser editpassword", "CmdOK", enter, "CmdOK", false},
            {"FrmUser editpassword", "CmdCancel", enter, "CmdCancel", true},
            {"FrmUser editpassword", "TxtoldPwd", enter, "CmdOK", false},
            {"FrmUser editpassword", "TxtoldPwd", esc, "", true},
            {"FrmUser logout", "CmdOK", enter, "CmdOK", false},
            {"FrmUser logout", "CmdCancel", enter, "CmdCancel", true},
            {"FrmUser logout", "TxtLogoutPwd", enter, "CmdOK", false},
            {"FrmUser logout", "TxtLogoutPwd", esc, "", true},
            {"FrmData add", "CmdSave", enter, "CmdSave", false},
            {"FrmData add", "CmdCancel", enter, "CmdCancel", true},
            {"FrmData add", "TxtAccountName", enter, "CmdSave", false},
            {"FrmData add", "TxtAccountName", esc, "", true},
            {"FrmData edit", "CmdSave", enter, "CmdSave", true},
            {"FrmData edit", "CmdCancel", enter, "CmdCancel", true},
            {"FrmData edit", "TxtAccountName", enter, "CmdSave", true},
            {"FrmData edit", "TxtAccountName", esc, "", true},
            {"FrmData look", "CmdEdit", enter, "CmdEdit", false},
            {"FrmData look", "CmdCancel", enter, "CmdCancel", true},
            {"FrmData look", "CmdCancel", esc, "", true},
            {"FrmFind", "CmdSave", enter, "CmdSave", true},
            {"FrmFind", "CmdCancel", enter, "CmdCancel", true},
            {"FrmFind", "TxtAccountName", enter, "CmdSave", true},
            {"FrmFind", "TxtAccountName", esc, "", true},
            {"FrmSetting", "CmdOK", enter, "CmdOK", true},
            {"FrmSetting", "CmdCancel", enter, "CmdCancel", true},
            {"FrmSetting", "TxtDay", enter, "", false},
            {"FrmSetting", "TxtDay", esc, "", true},
            {"FrmSetting", "CmdAddType", enter, "CmdAddType", false},
            {"FrmSetting", "CmdEditType", enter, "CmdEditType", false},
            {"FrmSetting", "CmdDeleteType", enter, "CmdDeleteType", false},
            {"FrmTool", "CmdBackup", enter, "CmdBackup", false},
            {"FrmTool", "CmdEditUserName", enter, "CmdEditUserName", false},
            {"FrmTool", "CmdEmpty", enter, "CmdEmpty", false},
            {"FrmTool", "CmdClose", enter, "CmdClose", true},
            {"FrmTool", "CmdClose", esc, "", true},
            {"FrmResumeData", "CmdResume", enter, "CmdResume", false},
            {"FrmResumeData", "CmdCancel", enter, "CmdCancel", true},
            {"FrmResumeData", "TxtPass", enter, "CmdResume", false},
            {"FrmResumeData", "TxtPass", esc, "", true},
            {"FrmAbout", "CmdReturn", enter, "CmdReturn", true},
            {"FrmAbout", "CmdReturn", esc, "", true},
            {"FrmMain", "CmdAdd", enter, "CmdAdd", false},
            {"FrmMain", "CmdLook", enter, "CmdLook", false},
            {"FrmMain", "CmdAbout", enter, "CmdAbout", false},
            {"FrmMain", "CmdQuit", enter, "CmdQuit", true},
            {"FrmMain", "CmdFind", enter, "CmdFind", false},
            {"FrmMain", "TxtFindData", enter, "CmdFind", false},
            {"FrmMain", "TreeViewType", enter, "CmdFind", false},
            {"FrmMain", "TxtFindData", esc, "CmdQuit", true},
        };
        for (const Case &c : cases) {
            const char *keyName = c.key == enter ? "Enter" : c.key == esc ? "Esc" : "keypad Enter";
            QTest::addRow("%s: %s on %s", c.window, keyName, c.focus)
                << QString::fromLatin1(c.window) << QString::fromLatin1(c.focus) << c.key
                << QString::fromLatin1(c.pressed) << c.closes;
        }
    }
    void enterPressesTheFocusedButton() {
        QFETCH(QString, window);
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, pressed);
        QFETCH(bool, closes);

        QWidget *w = open(window);
        QWidget *target = child(w, focus);
        if (window == "FrmSetting" && !target->isVisible()) // on the category page
            QTest::mouseClick(child(w, QStringLiteral("PicSelect3")), Qt::LeftButton);
        QStringList clicked;
        for (QPushButton *b : w->findChildren<QPushButton *>())
            connect(b, &QPushButton::clicked, this, [&clicked, b] { clicked << b->objectName(); });
        target->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), target);

        // A window the key opens is closed again at once, so that the test goes on.
        QTimer closer;
        connect(&closer, &QTimer::timeout, [w] {
            if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                modal && modal != w)
                modal->reject();
        });
        closer.start(0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        closer.stop();

        QCOMPARE(clicked, pressed.isEmpty() ? QStringList() : QStringList{pressed});
        QCOMPARE(w->isVisible(), !closes);
    }

    void passwordBoxesShowStars_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        QTest::newRow("login") << "FrmLogin"
                               << "TxtPass";
        QTest::newRow("registration") << "FrmNewUser"
                                      << "TxtVerifyPass";
        QTest::newRow("unlock") << "FrmLoosenLock"
                                << "TxtPwd";
        QTest::newRow("new password") << "FrmUser editpassword"
                                      << "TxtNewPwd";
        QTest::newRow("logout") << "FrmUser logout"
                                << "TxtLogoutPwd";
        QTest::newRow("record") << "FrmData add"
                                << "TxtAccountPassword";
        QTest::newRow("restore") << "FrmResumeData"
                                 << "TxtPass";
    }
    void passwordBoxesShowStars() {
        QFETCH(QString, window);
        QFETCH(QString, box);
        auto *edit = child<QLineEdit>(open(window), box);
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, QStringLiteral("pa55"));
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QCOMPARE(edit->displayText(), QStringLiteral("****"));
    }

    // The deletion of a user asked for in error is left by Tab to 取消 and Enter: the user and
    // his data stay.
    void logoutLeftByTabAndEnterKeepsTheUser() {
        const QList<QStringList> records = data->records(kAlice, passwordOf(kAlice));
        QWidget *w = open(QStringLiteral("FrmUser logout"));
        auto *password = child<QLineEdit>(w, QStringLiteral("TxtLogoutPwd"));
        password->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(password, passwordOf(kAlice));
        QWidget *cancel = child(w, QStringLiteral("CmdCancel"));
        for (int tabs = 0; QApplication::focusWidget() != cancel && tabs < 5; ++tabs)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), cancel);

        QTest::keyClick(cancel, Qt::Key_Return);
        if (QApplication::focusWidget())
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

        QVERIFY(!w->isVisible());
        QVERIFY(env->messages.shown.isEmpty());
        QVERIFY(data->vault->users().names().contains(kAlice));
        QCOMPARE(data->records(kAlice, passwordOf(kAlice)), records);
    }
};

QTEST_MAIN(TstDialogKeys)
#include "tst_dialogkeys.moc"
