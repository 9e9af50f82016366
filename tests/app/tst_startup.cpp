#include "TestFiles.h"
#include "TestServices.h"
#include "TestWidgets.h"

#include "app/Application.h"
#include "storage/clsSimpleXOR.h"
#include "users/UserStore.h"
#include "vault/DataFile.h"
#include "vault/Vault.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTimer>
#include <QtTest>

using testfiles::readAll;

// The whole start-up sequence in this process, with the windows driven as a user would.
using testwidgets::child;

class TstStartup : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<Application> app;

    bool start() {
        app = std::make_unique<Application>(env->services());
        app->setKdfParams(crypto::KdfParams::minimal());
        return app->start();
    }
    void registerThroughTheWindow(const QString &name, const QString &password) {
        FrmLogin *login = app->loginWindow();
        QTimer::singleShot(0, this, [=, this] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            child<QLineEdit>(dialog, "TxtUser")->setText(name);
            child<QLineEdit>(dialog, "TxtPass")->setText(password);
            child<QLineEdit>(dialog, "TxtVerifyPass")->setText(password);
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        QTest::mouseClick(child<QPushButton>(login, "CmdRegNewUser"), Qt::LeftButton);
    }
    // The data file is at rest: it does not open as it is, but unscrambled it does.
    void verifyScrambledAndWhole(const QStringList &users) {
        QVERIFY_THROWS_EXCEPTION(VaultError, Vault::open(env->dataFile()));
        auto vault = datafile::open(env->dataFile(), {});
        QCOMPARE(vault->users().names(), users);
        vault.reset();
        datafile::scramble(env->dataFile());
    }

private slots:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() {
        app.reset();
        env.reset();
    }

    void firstStartRegisterLoginQuit() {
        QVERIFY(start());
        QVERIFY(QFile::exists(env->dataFile()));
        FrmLogin *login = app->loginWindow();
        QVERIFY(login && login->isVisible());
        QCOMPARE(child<QComboBox>(login, "CbUser")->count(), 0);

        registerThroughTheWindow(QStringLiteral("alice"), QStringLiteral("Secret1"));
        QCOMPARE(env->messages.texts(), QStringList{QStringLiteral("注册成功,请登录!")});
        child<QLineEdit>(login, "TxtPass")->setText(QStringLiteral("Secret1"));
        QTest::keyClick(child<QLineEdit>(login, "TxtPass"), Qt::Key_Return);

        QTRY_VERIFY(app->mainWindow() && app->mainWindow()->isVisible());
        QCOMPARE(app->mainWindow()->windowTitle(),
                 QStringLiteral("Ombrivo2011 beta  --- 当前用户:alice"));
        QCOMPARE(env->settings.lastUser(), QStringLiteral("alice"));
        // While it runs the file is held open and unscrambled.
        QVERIFY_THROWS_EXCEPTION(VaultError, Vault::open(env->dataFile()));

        QSignalSpy finished(app.get(), &Application::finished);
        app->mainWindow()->close();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), 0);
        verifyScrambledAndWhole({QStringLiteral("alice")});
        QVERIFY(!QFile::exists(env->folder.filePath(QStringLiteral("SystemData.lock"))));

        // The next start finds the user remembered and the password box waiting.
        QVERIFY(start());
        QCOMPARE(child<QComboBox>(app->loginWindow(), "CbUser")->currentText(),
                 QStringLiteral("alice"));
    }

    void closingTheLoginWindowScramblesTheFile() {
        QVERIFY(start());
        QSignalSpy finished(app.get(), &Application::finished);
        QTest::keyClick(app->loginWindow(), Qt::Key_Escape);
        QTRY_COMPARE(finished.count(), 1);
        verifyScrambledAndWhole({});
    }

    void threeWrongPasswordsEndWithTheFileScrambled() {
        QVERIFY(start());
        registerThroughTheWindow(QStringLiteral("alice"), QStringLiteral("Secret1"));
        QSignalSpy finished(app.get(), &Application::finished);
        FrmLogin *login = app->loginWindow();
        for (int i = 0; i < 3; ++i) {
            child<QLineEdit>(login, "TxtPass")->setText(QStringLiteral("wrong"));
            QTest::mouseClick(child<QPushButton>(login, "CmdLogin"), Qt::LeftButton);
        }
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!app->mainWindow());
        verifyScrambledAndWhole({QStringLiteral("alice")});
    }

    void secondInstanceIsRefused() {
        QVERIFY(start());
        const QByteArray before = readAll(env->dataFile());
        Application second(env->services());
        QVERIFY(!second.start());
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(env->messages.texts(), QStringList{QStringLiteral("程序已运行!")});
        QCOMPARE(env->messages.shown.first().icon, MessageService::Icon::Information);
        QCOMPARE(readAll(env->dataFile()), before);
        // The first instance is unaffected.
        QVERIFY(app->loginWindow()->isVisible());
        QVERIFY(app->vault()->users().names().isEmpty());
    }

    void staleLockOfACrashedRunIsTakenOver() {
        // A lock left by a process that no longer exists.
        QFile lock(env->folder.filePath(QStringLiteral("SystemData.lock")));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("999999\nOmbrivo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        lock.close();
        QVERIFY(start());
        QVERIFY(env->messages.shown.isEmpty());
    }

    void unscrambledFileOfACrashedRunOpens() {
        QVERIFY(start());
        registerThroughTheWindow(QStringLiteral("alice"), QStringLiteral("Secret1"));
        app->quit();
        // A run that died leaves the file unscrambled.
        clsSimpleXOR().DecryptFile(env->dataFile(), env->dataFile(),
                                   QString::fromLatin1(datafile::kScrambleKey));
        const QByteArray unscrambled = readAll(env->dataFile());
        QVERIFY(start());
        QCOMPARE(readAll(env->dataFile()), unscrambled);
        QCOMPARE(child<QComboBox>(app->loginWindow(), "CbUser")->count(), 1);
        app->quit();
        QVERIFY(readAll(env->dataFile()) != unscrambled);
        verifyScrambledAndWhole({QStringLiteral("alice")});
    }

    void damagedFileIsReportedAndKept_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one byte") << QByteArray("x");
        QTest::newRow("garbage") << QByteArray(5000, '\x5a');
    }
    void damagedFileIsReportedAndKept() {
        QFETCH(QByteArray, bytes);
        QFile file(env->dataFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QVERIFY(!start());
        QCOMPARE(app->exitCode(), 1);
        QCOMPARE(env->messages.shown.size(), 1);
        QVERIFY(env->messages.last().contains(QStringLiteral("无法打开")));
        QCOMPARE(readAll(env->dataFile()), bytes);
        QVERIFY(!QFile::exists(env->folder.filePath(QStringLiteral("SystemData.lock"))));
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
