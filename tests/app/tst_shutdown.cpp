#include "TestServices.h"
#include "TestWidgets.h"

#include "app/Application.h"
#include "records/RecordStore.h"
#include "tray/FrmTrayMenu.h"
#include "users/UserStore.h"
#include "vault/DataFile.h"
#include "vault/Vault.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <functional>

// The orderly end of a session in this process: what it does to the clipboard and the data file.
using testwidgets::child;

class TstShutdown : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<Application> app;

    // A data file at rest holding alice with one record and her ClearClipboard choice.
    void prepareDataFile(bool clearClipboard) {
        Vault::create(env->dataFile());
        {
            std::unique_ptr<Vault> vault = Vault::open(env->dataFile());
            vault->setKdfParams(crypto::KdfParams::minimal());
            UserStore users = vault->users();
            users.registerUser(QStringLiteral("alice"), QStringLiteral("Secret1"),
                               env->clock.today(), env->folder.path());
            UserSettings settings = users.settings(QStringLiteral("alice"));
            settings.ClearClipboard = clearClipboard;
            users.saveSettings(QStringLiteral("alice"), settings);
            std::optional<Session> session =
                users.login(QStringLiteral("alice"), QStringLiteral("Secret1"));
            QVERIFY(session);
            vault->records(*session).add(
                {"网站帐号", "Gmail", "alice", "gm-pass", "", "https://mail.example", {}});
        }
        datafile::scramble(env->dataFile());
    }
    void logIn() {
        app = std::make_unique<Application>(env->services());
        QVERIFY(app->start());
        FrmLogin *login = app->loginWindow();
        auto *users = child<QComboBox>(login, "CbUser");
        users->setCurrentIndex(users->findText(QStringLiteral("alice")));
        QTest::keyClicks(child<QLineEdit>(login, "TxtPass"), QStringLiteral("Secret1"));
        QTest::keyClick(child<QLineEdit>(login, "TxtPass"), Qt::Key_Return);
        QTRY_VERIFY(app->mainWindow() && app->mainWindow()->isVisible());
    }

private slots:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() {
        app.reset();
        env.reset();
    }

    void exitEmptiesTheClipboardWhenAsked_data() {
        QTest::addColumn<bool>("ClearClipboard");
        QTest::addColumn<QString>("route");
        QTest::newRow("on, quit button") << true << "quit button";
        QTest::newRow("off, quit button") << false << "quit button";
        QTest::newRow("on, tray quit item") << true << "tray quit item";
        QTest::newRow("on, session end") << true << "session end";
        QTest::newRow("off, session end") << false << "session end";
    }
    void exitEmptiesTheClipboardWhenAsked() {
        QFETCH(bool, ClearClipboard);
        QFETCH(QString, route);
        prepareDataFile(ClearClipboard);
        logIn();
        FrmMain *window = app->mainWindow();
        window->trayMenu()->item("mnuCopyPwd")->trigger();
        QCOMPARE(env->clipboard.text(), QStringLiteral("gm-pass"));

        QSignalSpy finished(app.get(), &Application::finished);
        if (route == QLatin1String("quit button"))
            QTest::mouseClick(child<QPushButton>(window, "CmdQuit"), Qt::LeftButton);
        else if (route == QLatin1String("tray quit item"))
            window->trayMenu()->item("mnuQuit")->trigger();
        else
            app->quit();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), 0);
        QCOMPARE(env->clipboard.text(), ClearClipboard ? QString() : QStringLiteral("gm-pass"));
        // The session end asks nothing; the other two ask once, answered Yes.
        QCOMPARE(env->messages.texts(), route == QLatin1String("session end")
                                            ? QStringList()
                                            : QStringList{QStringLiteral("是否退出系统？")});

        // Whichever way it ended, the file is at rest again: scrambled and whole.
        QVERIFY_THROWS_EXCEPTION(VaultError, Vault::open(env->dataFile()));
        std::unique_ptr<Vault> vault = datafile::open(env->dataFile(), {});
        QCOMPARE(vault->users().names(), QStringList{QStringLiteral("alice")});
    }

    // The tray's quit item and the session's end while a dialog of the main window is open,
    // one dialog deep and two: the dialogs close first, then the exit runs whole, once.
    void endWithADialogOpen_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QStringList>("path"); // buttons pressed, each opening a dialog
        const QStringList settings{"CmdSet"};
        const QStringList tools{"CmdTool"};
        const QStringList userWindow{"CmdTool", "CmdEditUserName"};
        QTest::newRow("tray quit, settings") << "tray quit item" << settings;
        QTest::newRow("tray quit, tools") << "tray quit item" << tools;
        QTest::newRow("tray quit, tools > user") << "tray quit item" << userWindow;
        QTest::newRow("session end, settings") << "session end" << settings;
        QTest::newRow("session end, tools > user") << "session end" << userWindow;
        // A message box of the main window itself, outside any of its dialogs.
        const QStringList lockMessage{"mnuLock"};
        QTest::newRow("tray quit, lock message") << "tray quit item" << lockMessage;
        QTest::newRow("session end, lock message") << "session end" << lockMessage;
    }
    void endWithADialogOpen() {
        QFETCH(QString, route);
        QFETCH(QStringList, path);
        prepareDataFile(true);
        logIn();
        FrmMain *window = app->mainWindow();
        QSignalSpy finished(app.get(), &Application::finished);
        // The message boxes wait as real ones do, in a loop of their own, until answered.
        env->messages.onShow = [](const RecordingMessageService::Shown &shown) {
            if (shown.text == QStringLiteral("是否退出系统？"))
                return;
            QDialog box;
            box.setObjectName(QStringLiteral("message"));
            box.setModal(true);
            box.exec();
        };
        QStringList opened;
        // Each step runs inside the dialog the step before opened.
        std::function<void(int)> step = [&](int depth) {
            QWidget *parent =
                depth == 0 ? static_cast<QWidget *>(window) : QApplication::activeModalWidget();
            QVERIFY(parent);
            if (depth == path.size()) {
                if (route == QLatin1String("tray quit item"))
                    window->trayMenu()->item("mnuQuit")->trigger();
                else
                    app->quit();
                return;
            }
            QTimer::singleShot(0, [&, depth] {
                if (QWidget *dialog = QApplication::activeModalWidget())
                    opened << dialog->objectName();
                step(depth + 1);
            });
            if (path[depth].startsWith(QLatin1String("mnu")))
                window->trayMenu()->item(qPrintable(path[depth]))->trigger();
            else
                QTest::mouseClick(child<QPushButton>(parent, qPrintable(path[depth])),
                                  Qt::LeftButton);
        };
        step(0);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(opened.size(), path.size());
        QVERIFY(!QApplication::activeModalWidget());
        QStringList asked = env->messages.texts();
        asked.removeAll(QStringLiteral("Qolani密码管理器已处锁定锁定状态!"));
        QCOMPARE(asked, route == QLatin1String("session end")
                            ? QStringList()
                            : QStringList{QStringLiteral("是否退出系统？")});
        QVERIFY_THROWS_EXCEPTION(VaultError, Vault::open(env->dataFile()));
        std::unique_ptr<Vault> vault = datafile::open(env->dataFile(), {});
        QCOMPARE(vault->users().names(), QStringList{QStringLiteral("alice")});
    }

    // The session ends while the registration window is open over the login window: it closes,
    // and the data file is at rest again.
    void sessionEndWithTheRegistrationOpen() {
        prepareDataFile(true);
        app = std::make_unique<Application>(env->services());
        QVERIFY(app->start());
        QSignalSpy finished(app.get(), &Application::finished);
        QString opened;
        QTimer::singleShot(0, [&] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                opened = dialog->objectName();
            app->quit();
        });
        QTest::mouseClick(child<QPushButton>(app->loginWindow(), "CmdRegNewUser"), Qt::LeftButton);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(opened, QStringLiteral("FrmNewUser"));
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY_THROWS_EXCEPTION(VaultError, Vault::open(env->dataFile()));
        std::unique_ptr<Vault> vault = datafile::open(env->dataFile(), {});
        QCOMPARE(vault->users().names(), QStringList{QStringLiteral("alice")});
    }

    void declinedExitKeepsEverything() {
        prepareDataFile(true);
        logIn();
        env->clipboard.setText(QStringLiteral("kept"));
        QSignalSpy finished(app.get(), &Application::finished);
        env->messages.answers.push_back(MessageService::Answer::No);
        QTest::mouseClick(child<QPushButton>(app->mainWindow(), "CmdQuit"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 0);
        QVERIFY(app->mainWindow() && app->mainWindow()->isVisible());
        QCOMPARE(env->clipboard.text(), QStringLiteral("kept"));
        // Still in use: held open and unscrambled.
        QVERIFY_THROWS_EXCEPTION(VaultError, Vault::open(env->dataFile()));
        QCOMPARE(app->vault()->users().names(), QStringList{QStringLiteral("alice")});
    }
};

QTEST_MAIN(TstShutdown)
#include "tst_shutdown.moc"
