// The real executable, started in a temporary data folder on the offscreen platform.
#include "users/UserStore.h"
#include "vault/DataFile.h"
#include "vault/Vault.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

class Process : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString dataFile = folder.filePath(QStringLiteral("SystemData.dat"));
    QString lockFile = folder.filePath(QStringLiteral("SystemData.lock"));

    std::unique_ptr<QProcess> launch() {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("OMBRIVO_HOME"), folder.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           folder.filePath(QStringLiteral("config")));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(OMBRIVO_EXECUTABLE), QStringList());
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }

    // The program is up once it holds the lock and the file is no longer scrambled.
    bool waitUntilRunning(QProcess &process) {
        for (int i = 0; i < 300; ++i) {
            if (process.state() != QProcess::Running)
                return false;
            if (QFile::exists(lockFile) && QFile::exists(dataFile)) {
                // The window shows once the data file is open; give it that moment.
                QThread::msleep(300);
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    void expectAtRestAndWhole(const QStringList &users) {
        EXPECT_THROW(Vault::open(dataFile), VaultError) << "the file is not scrambled";
        auto vault = datafile::open(dataFile, {});
        EXPECT_EQ(vault->users().names(), users);
        vault.reset();
        datafile::scramble(dataFile);
    }
};

TEST_F(Process, FirstStartThenTerminationLeavesTheFileScrambled) {
    auto process = launch();
    ASSERT_TRUE(waitUntilRunning(*process));
    process->terminate(); // SIGTERM, as at log-out
    ASSERT_TRUE(process->waitForFinished(20000));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), 0);
    EXPECT_FALSE(QFile::exists(lockFile));
    expectAtRestAndWhole({});
}

TEST_F(Process, KilledWhileRunningThenStartsAgain) {
    {
        auto vault = [&] {
            auto process = launch();
            EXPECT_TRUE(waitUntilRunning(*process));
            process->terminate();
            EXPECT_TRUE(process->waitForFinished(20000));
            return datafile::open(dataFile, {});
        }();
        vault->setKdfParams(crypto::KdfParams::minimal());
        vault->users().registerUser(QStringLiteral("alice"), QStringLiteral("Secret1"),
                                    QDate(2026, 1, 1), folder.path());
        vault.reset();
        datafile::scramble(dataFile);
    }
    auto process = launch();
    ASSERT_TRUE(waitUntilRunning(*process));
    ::kill(pid_t(process->processId()), SIGKILL);
    ASSERT_TRUE(process->waitForFinished(20000));
    EXPECT_EQ(process->exitStatus(), QProcess::CrashExit);
    EXPECT_TRUE(QFile::exists(lockFile)) << "a killed process leaves its lock behind";

    auto again = launch();
    ASSERT_TRUE(waitUntilRunning(*again)) << "the stale lock was not taken over";
    again->terminate();
    ASSERT_TRUE(again->waitForFinished(20000));
    EXPECT_EQ(again->exitCode(), 0);
    expectAtRestAndWhole({QStringLiteral("alice")});
}

TEST_F(Process, WithoutADisplayItSaysSoInOneSentence) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("OMBRIVO_HOME"), folder.path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(OMBRIVO_EXECUTABLE), QStringList());
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 1);
    const QString error = QString::fromUtf8(process.readAllStandardError()).trimmed();
    EXPECT_TRUE(error.startsWith(QStringLiteral("Ombrivo needs a graphical desktop")))
        << error.toStdString();
    EXPECT_EQ(error.count(QLatin1Char('\n')), 0);
    EXPECT_FALSE(QFile::exists(dataFile)) << "nothing is touched without a display";
}

TEST_F(Process, VersionHelpAndRefusedArgumentsNeedNoDisplayAndTouchNothing) {
    struct Case {
        QStringList arguments;
        int exitCode;
        const char *stdoutStart, *stderrHas;
    };
    const QList<Case> cases{
        {{QStringLiteral("--version")}, 0, "Ombrivo " OMBRIVO_VERSION "\n", ""},
        {{QStringLiteral("--help")}, 0, "", ""},
        {{QStringLiteral("SystemData.dat")}, 2, "", "SystemData.dat"},
        {{QStringLiteral("--reset")}, 2, "", "--reset"},
    };
    for (const Case &c : cases) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("OMBRIVO_HOME"), folder.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(OMBRIVO_EXECUTABLE), c.arguments);
        ASSERT_TRUE(process.waitForFinished(20000));
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString error = QString::fromUtf8(process.readAllStandardError());
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << name;
        EXPECT_EQ(process.exitCode(), c.exitCode) << name;
        if (*c.stdoutStart) {
            EXPECT_TRUE(out.startsWith(QString::fromUtf8(c.stdoutStart))) << name;
        }
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.stderrHas))) << name;
        EXPECT_EQ(out.isEmpty(), c.exitCode != 0) << name;
        EXPECT_FALSE(QFile::exists(dataFile)) << name;
        EXPECT_FALSE(QFile::exists(lockFile)) << name;
    }
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
