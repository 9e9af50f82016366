// Files that are no usable data file, met by the real executable at start, and a backup its
// owner may not read, chosen for a restore. Each is reported in one message, the file stays
// byte for byte and to the second as it was, and nothing else in the folders changes.
#include "RestoreFixture.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace restore;

static void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

constexpr int kCriticalIcon = 3; // QMessageBox::Critical, as the answerer writes it

// Somebody whom the file system holds to its permissions: the user running the tests, or
// "nobody" when that is root (root reads a file whatever its mode says).
struct Unprivileged {
    bool available = false;
    bool switchUser = false; // true: a process must first become uid/gid
    uid_t uid = 0;
    gid_t gid = 0;
    QString whyNot;
};

Unprivileged unprivileged() {
    Unprivileged u;
    if (::geteuid() != 0) {
        u.available = true;
        u.uid = ::geteuid();
        u.gid = ::getegid();
        return u;
    }
    const passwd *nobody = ::getpwnam("nobody");
    if (!nobody || nobody->pw_uid == 0) {
        u.whyNot = "the tests run as root and the system has no user \"nobody\" to drop to";
        return u;
    }
    u.available = u.switchUser = true;
    u.uid = nobody->pw_uid;
    u.gid = nobody->pw_gid;
    return u;
}

void handOver(const QString &path, const Unprivileged &to) {
    if (to.switchUser && ::chown(QFile::encodeName(path).constData(), to.uid, to.gid) != 0)
        throw std::runtime_error("cannot hand over " + path.toStdString());
}
void setMode(const QString &path, mode_t mode) {
    if (::chmod(QFile::encodeName(path).constData(), mode) != 0)
        throw std::runtime_error("cannot change the mode of " + path.toStdString());
}

// Everything below a folder: each file's bytes and time, each folder's presence.
std::map<QString, FileState> treeOf(const QString &root) {
    std::map<QString, FileState> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        FileState state = stateOf(path);
        if (state.isDir)
            state.modified = {}; // a folder's time moves with the lock file made and removed in it
        tree[QDir(root).relativeFilePath(path)] = state;
    }
    return tree;
}
QString changesBetween(const std::map<QString, FileState> &before,
                       const std::map<QString, FileState> &after) {
    QStringList changed;
    for (const auto &[name, state] : before) {
        const auto it = after.find(name);
        if (it == after.end())
            changed << name + QStringLiteral(" (gone)");
        else if (!(it->second == state))
            changed << name + QStringLiteral(" (changed)");
    }
    for (const auto &[name, state] : after)
        if (!before.count(name))
            changed << name + QStringLiteral(" (new)");
    return changed.join(QStringLiteral(", "));
}

QByteArray pragma(sql::Connection &db, const char *text) {
    sql::Statement query = db.prepare(text);
    return query.step() ? query.text(0).toUtf8() : QByteArray();
}

// A database of another program at `path`: plain SQLite without a key, encrypted with one.
void foreignDatabase(const QString &path, const QByteArray &key) {
    QFile::remove(path);
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK;
    if (ok && !key.isEmpty())
        ok = sqlite3_key(db, key.constData(), int(key.size())) == SQLITE_OK;
    ok = ok && sqlite3_exec(db, "CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('hi')",
                            nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!ok || readAll(path).startsWith("SQLite format 3") != key.isEmpty())
        throw std::runtime_error("cannot write the foreign database");
}

// A data file at rest as the program leaves it: alice with a record, scrambled; and its page.
struct GoodFile {
    QByteArray scrambled;
    qsizetype pageSize = 0;
};
GoodFile goodDataFile(const QString &folder) {
    const QString path = folder + QStringLiteral("/good.dat");
    GoodFile good;
    Vault::create(path);
    {
        std::unique_ptr<Vault> vault = Vault::open(path);
        vault->setKdfParams(crypto::KdfParams::minimal());
        vault->users().registerUser(kAlice, passwordOf(kAlice), QDate(2026, 12, 10), folder);
        std::optional<Session> alice = vault->users().login(kAlice, passwordOf(kAlice));
        vault->records(*alice).add({QStringLiteral("网站帐号"),
                                    QStringLiteral("Gmail"),
                                    QStringLiteral("alice"),
                                    QStringLiteral("gm-pass"),
                                    {},
                                    {},
                                    {}});
        good.pageSize = pragma(vault->connection(), "PRAGMA page_size").toLongLong();
    }
    datafile::scramble(path);
    good.scrambled = readAll(path);
    QFile::remove(path);
    return good;
}

// What the real executable is given as its data file. `make` writes it (or a folder) at `path`.
struct BadStart {
    const char *name;
    std::function<void(const QString &path, const GoodFile &good)> make;
    const char *reason;      // what the second line of the message says
    bool unreadable = false; // the executable runs as a user who may not read the file
};
void PrintTo(const BadStart &c, std::ostream *os) {
    *os << c.name;
}

std::vector<BadStart> badStarts() {
    const auto cut = [](qsizetype (*length)(const GoodFile &)) {
        return [length](const QString &p, const GoodFile &g) {
            writeAll(p, g.scrambled.left(length(g)));
        };
    };
    const char *damaged = "is damaged or is not an Ombrivo data file";
    return {
        {"empty", [](const QString &p, const GoodFile &) { writeAll(p, {}); }, "is empty"},
        {"one byte", cut([](const GoodFile &) { return qsizetype(1); }), damaged},
        {"one page", cut([](const GoodFile &g) { return g.pageSize; }), damaged},
        {"half", cut([](const GoodFile &g) { return g.scrambled.size() / 2; }), damaged},
        {"all but the last byte", cut([](const GoodFile &g) { return g.scrambled.size() - 1; }),
         "is truncated"},
        // A run that crashed leaves the file unscrambled; cut short, it opens no more.
        {"not scrambled, all but the last byte",
         [](const QString &p, const GoodFile &g) {
             writeAll(p, xorred(g.scrambled).left(g.scrambled.size() - 1));
         },
         "is truncated"},
        {"random bytes",
         [](const QString &p, const GoodFile &g) {
             QByteArray bytes(g.scrambled.size(), Qt::Uninitialized);
             QRandomGenerator random(20261210);
             for (char &c : bytes)
                 c = char(random.bounded(256));
             writeAll(p, bytes);
         },
         damaged},
        {"a plain SQLite file", [](const QString &p, const GoodFile &) { foreignDatabase(p, {}); },
         damaged},
        {"a plain SQLite file, scrambled",
         [](const QString &p, const GoodFile &) {
             foreignDatabase(p, {});
             writeAll(p, xorred(readAll(p)));
         },
         damaged},
        {"an encrypted database with another key",
         [](const QString &p, const GoodFile &) { foreignDatabase(p, "not-quillmoss"); }, damaged},
        {"an encrypted database with another key, scrambled",
         [](const QString &p, const GoodFile &) {
             foreignDatabase(p, "not-quillmoss");
             writeAll(p, xorred(readAll(p)));
         },
         damaged},
        {"a folder", [](const QString &p, const GoodFile &) { QDir().mkpath(p); },
         "is a folder, not a data file"},
        {"a whole data file without read permission",
         [](const QString &p, const GoodFile &g) {
             writeAll(p, g.scrambled);
             setMode(p, 0200);
         },
         "cannot be read and written", true},
    };
}

class BadDataFileAtStart : public ::testing::TestWithParam<BadStart> {
protected:
    QTemporaryDir home;    // the data folder, with the settings folder inside
    QTemporaryDir outside; // what the run may write besides: messages, caches
    QString dataFile = home.filePath(QStringLiteral("SystemData.dat"));
    QString messageLog = outside.filePath(QStringLiteral("messages.jsonl"));

    void SetUp() override {
        ASSERT_TRUE(home.isValid() && outside.isValid());
        // Beside the bad file: a good backup and the settings with the last user.
        writeAll(home.filePath(QStringLiteral("SystemDataBackup.dat")),
                 goodDataFile(outside.path()).scrambled);
        ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("config"))));
        writeAll(home.filePath(QStringLiteral("config/Ombrivo.conf")), "[login]\nuser=alice\n");
        for (const char *folder : {"cache", "runtime"})
            ASSERT_TRUE(QDir().mkpath(outside.filePath(QString::fromLatin1(folder))));
        setMode(outside.filePath(QStringLiteral("runtime")), 0700);
    }

    struct Outcome {
        bool finished = false;
        QProcess::ExitStatus status = QProcess::CrashExit;
        int exitCode = -1;
        QList<QJsonObject> messages;
        QString errors;
    };

    // Starts the executable, as `as` when given, and waits for its end: with every message box
    // answered it has nothing to wait for.
    Outcome run(const Unprivileged *as) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("OMBRIVO_HOME"), home.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("HOME"), outside.path());
        environment.insert(QStringLiteral("XDG_CACHE_HOME"),
                           outside.filePath(QStringLiteral("cache")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           outside.filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("OMBRIVO_TEST_MESSAGES"), messageLog);
        // A sanitized build: the answerer comes before the sanitizer's runtime in the list.
        const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) +
                               QStringLiteral("verify_asan_link_order=0"));
        // Through env, so that only the executable has the answerer preloaded.
        QString program = QStandardPaths::findExecutable(QStringLiteral("env"));
        QStringList arguments{QStringLiteral("LD_PRELOAD=" OMBRIVO_MESSAGE_ANSWERER),
                              QStringLiteral(OMBRIVO_EXECUTABLE)};
        if (as && as->switchUser) {
            arguments =
                QStringList{QStringLiteral("--reuid=%1").arg(as->uid),
                            QStringLiteral("--regid=%1").arg(as->gid),
                            QStringLiteral("--clear-groups"), QStringLiteral("--"), program} +
                arguments;
            program = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        }
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        Outcome outcome;
        if (!process.waitForStarted(10000))
            return outcome;
        outcome.finished = process.waitForFinished(60000);
        if (!outcome.finished) {
            process.kill();
            process.waitForFinished(10000);
        }
        outcome.status = process.exitStatus();
        outcome.exitCode = process.exitCode();
        outcome.errors = QString::fromUtf8(process.readAllStandardError());
        for (const QByteArray &line : readAll(messageLog).split('\n'))
            if (!line.isEmpty())
                outcome.messages << QJsonDocument::fromJson(line).object();
        return outcome;
    }

    // setpriv must be there and the executable and the answerer reachable for `as`.
    std::string cannotRunAs(const Unprivileged &as) {
        if (!as.switchUser)
            return {};
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty())
            return "setpriv (util-linux) is missing, so the executable cannot run as nobody";
        QProcess probe;
        probe.start(setpriv,
                    {QStringLiteral("--reuid=%1").arg(as.uid),
                     QStringLiteral("--regid=%1").arg(as.gid), QStringLiteral("--clear-groups"),
                     QStringLiteral("test"), QStringLiteral("-x"),
                     QStringLiteral(OMBRIVO_EXECUTABLE), QStringLiteral("-a"), QStringLiteral("-r"),
                     QStringLiteral(OMBRIVO_MESSAGE_ANSWERER)});
        if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit ||
            probe.exitCode() != 0)
            return "nobody may not run " OMBRIVO_EXECUTABLE " (a folder on its way is closed)";
        return {};
    }
};

TEST_P(BadDataFileAtStart, IsReportedOnceAndTheProgramEndsTouchingNothing) {
    const BadStart &c = GetParam();
    const Unprivileged as = unprivileged();
    if (c.unreadable) {
        if (!as.available)
            GTEST_SKIP() << as.whyNot.toStdString();
        if (const std::string why = cannotRunAs(as); !why.empty())
            GTEST_SKIP() << why;
    }
    c.make(dataFile, goodDataFile(outside.path()));
    if (c.unreadable) {
        QDirIterator it(home.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            handOver(it.next(), as);
        for (const QString &path :
             {home.path(), outside.path(), outside.filePath(QStringLiteral("cache")),
              outside.filePath(QStringLiteral("runtime"))})
            handOver(path, as);
    }
    const std::map<QString, FileState> before = treeOf(home.path());

    const Outcome outcome = run(c.unreadable ? &as : nullptr);
    ASSERT_TRUE(outcome.finished) << "the program did not end: " << outcome.errors.toStdString();
    EXPECT_EQ(outcome.status, QProcess::NormalExit) << outcome.errors.toStdString();
    EXPECT_EQ(outcome.exitCode, 1);

    ASSERT_EQ(outcome.messages.size(), 1) << outcome.errors.toStdString();
    const QJsonObject &message = outcome.messages.first();
    EXPECT_EQ(message.value(QStringLiteral("icon")).toInt(), kCriticalIcon);
    EXPECT_EQ(message.value(QStringLiteral("title")).toString(), QStringLiteral("提示"));
    const QStringList lines = message.value(QStringLiteral("text")).toString().split('\n');
    ASSERT_EQ(lines.size(), 2) << message.value(QStringLiteral("text")).toString().toStdString();
    EXPECT_EQ(lines.at(0), QStringLiteral("数据文件 %1 无法打开,程序不能运行.文件未作任何改动.")
                               .arg(QDir::toNativeSeparators(dataFile)));
    EXPECT_TRUE(lines.at(1).contains(QString::fromUtf8(c.reason))) << lines.at(1).toStdString();
    // The reason, too, is said of the file the user has, not of a copy made while opening it.
    EXPECT_TRUE(lines.at(1).startsWith(dataFile + QLatin1Char(' '))) << lines.at(1).toStdString();
    EXPECT_FALSE(lines.at(1).contains(QStringLiteral(".tmp"))) << lines.at(1).toStdString();

    // The bad file, the backup beside it and the settings are as they were; nothing is left
    // behind, not even the lock.
    EXPECT_EQ(changesBetween(before, treeOf(home.path())), QString());
}

INSTANTIATE_TEST_SUITE_P(Files, BadDataFileAtStart, ::testing::ValuesIn(badStarts()),
                         [](const ::testing::TestParamInfo<BadStart> &info) {
                             std::string name = info.param.name;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// The restore reads the chosen file in the program's own process; a child of the test that has
// become the unprivileged user stands in for it. The other bad backups are in badBackups().
TEST(BadBackupFile, WithoutReadPermissionIsRefusedAndLeftAsItWas) {
    const Unprivileged as = unprivileged();
    if (!as.available)
        GTEST_SKIP() << as.whyNot.toStdString();
    RestoreFixture f;
    const QString path = f.folder.filePath(QStringLiteral("chosen.dat"));
    writeAll(path, readAll(f.backupPath));
    setMode(path, 0200);
    handOver(path, as);
    setMode(f.folder.path(), 0711); // the child may reach the file but list nothing
    const FileState before = stateOf(path);
    const QStringList live = f.rowsExcept(QString());

    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(channel[0]);
        if (as.switchUser &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(as.gid, as.gid, as.gid) != 0 ||
             ::setresuid(as.uid, as.uid, as.uid) != 0))
            ::_exit(4);
        QByteArray said;
        int code = 0;
        try {
            BackupFile::open(path, f.dataFolder);
            said = "opened";
            code = 2;
        } catch (const BackupFile::Error &error) {
            said = error.what();
        } catch (const std::exception &error) {
            said = error.what();
            code = 3;
        }
        [[maybe_unused]] const ssize_t written = ::write(channel[1], said.constData(), said.size());
        ::_exit(code);
    }
    ::close(channel[1]);
    QByteArray said;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, got);
    ::close(channel[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << said.toStdString();
    EXPECT_EQ(QString::fromUtf8(said),
              QStringLiteral("备份文件无法读取: %1").arg(QDir::toNativeSeparators(path)));

    EXPECT_EQ(stateOf(path), before);
    EXPECT_FALSE(QFileInfo::exists(f.workFolder));
    EXPECT_EQ(f.rowsExcept(QString()), live);
    EXPECT_THROW(Vault::open(f.path), VaultError) << "the live file lost its lock";
    EXPECT_EQ(f.records(kAlice, passwordOf(kAlice)), f.backupRecords(kAlice));
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
