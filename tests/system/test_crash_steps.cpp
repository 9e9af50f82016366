// The program killed with SIGKILL at every file step of start, exit, backup, compaction,
// restore, registration, record save and password change. The worker stops right before its
// Nth step (a write, sync, truncation, rename, removal or creation inside the data folder); the
// test kills it there and starts as the program would. The start must succeed, every committed
// user, category and record must be there with its password decrypting to the text it was
// given, the operation's own data must be wholly there or wholly absent, an earlier backup must
// survive a backup that did not finish, and no temporary file may outlive the run that promises
// to remove it.
#include "TestFiles.h"
#include "crash_fixture.h"

#include "maintenance/Backup.h"
#include "records/CategoryStore.h"
#include "records/RecordStore.h"
#include "storage/Schema.h"
#include "storage/clsSimpleXOR.h"
#include "users/Session.h"
#include "users/UserSettings.h"
#include "users/UserStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace crash;

// ---- What a data file holds, as its users read it ----

struct UserState {
    QString password; // the one that logs in
    std::optional<UserSettings> settings;
    QList<Category> categories;
    QList<QStringList> records; // the editor's fields, the password in the clear
};
using State = std::map<QString, UserState>;

QStringList fields(const RecordInput &r) {
    return {r.TypeName, r.AccountName, r.AccountID, r.Password, r.RegDate, r.URL, r.Remarks};
}

// Every login password a user may have; reading finds the one that works.
const std::map<QString, QStringList> &candidatePasswords() {
    static const std::map<QString, QStringList> passwords = {
        {kAlice, {kAlicePassword, kAliceNewPassword}},
        {kBob, {kBobPassword}},
        {kCarol, {kCarolPassword}},
    };
    return passwords;
}

State readState(Vault &vault) {
    State state;
    for (const QString &name : vault.users().names()) {
        UserState &user = state[name];
        std::optional<Session> session;
        QStringList working;
        const auto candidates = candidatePasswords().find(name);
        if (candidates != candidatePasswords().end())
            for (const QString &password : candidates->second)
                if (auto s = vault.users().login(name, password)) {
                    working << password;
                    session = std::move(s);
                }
        user.password = working.size() == 1
                            ? working.front()
                            : QStringLiteral("<%1 passwords log in>").arg(working.size());
        user.settings = vault.users().settings(name);
        for (const Category &c : vault.categories(name).list())
            user.categories << c;
        if (!session)
            continue;
        RecordStore store = vault.records(*session);
        for (const Record &r : store.all())
            user.records << QStringList{r.TypeName, r.AccountName, r.AccountID, store.password(r),
                                        r.RegDate,  r.URL,         r.Remarks};
    }
    return state;
}

bool matches(const State &actual, const State &expected) {
    if (actual.size() != expected.size())
        return false;
    for (const auto &[name, want] : expected) {
        const auto found = actual.find(name);
        if (found == actual.end())
            return false;
        const UserState &have = found->second;
        if (have.password != want.password || have.categories != want.categories ||
            have.records != want.records || (want.settings && have.settings != want.settings))
            return false;
    }
    return true;
}

std::string describe(const State &state) {
    std::ostringstream out;
    for (const auto &[name, user] : state) {
        out << "  " << name.toStdString() << " (" << user.password.toStdString() << "), "
            << user.categories.size() << " categories:";
        for (const Category &c : user.categories)
            out << ' ' << c.TypeName.toStdString() << '/' << c.icoIndex;
        out << "\n";
        for (const QStringList &r : user.records)
            out << "    " << r.join(QLatin1Char('|')).toStdString() << "\n";
    }
    return state.empty() ? "  no users\n" : out.str();
}

// ---- The fixture: built once, copied into a fresh folder for every run ----

QList<Category> withDefaults(const QList<Category> &own) {
    QList<Category> result;
    const QStringList names = schema::defaultCategories();
    for (int i = 0; i < names.size(); ++i)
        result << Category{names[i], i + 1};
    result << own;
    std::stable_sort(result.begin(), result.end(),
                     [](const Category &a, const Category &b) { return a.icoIndex < b.icoIndex; });
    return result;
}

UserSettings aliceSettings() {
    UserSettings s;
    s.AutoBackup = 7;
    s.PriorBackupDate = QDate(2026, 12, 1);
    s.AutoBackupPath = QStringLiteral("/backups/alice.dat");
    s.MinLockTime = 2;
    s.ShortcutUser = QStringLiteral("2|65");
    return s;
}
UserSettings bobSettings() {
    UserSettings s;
    s.AutoBackup = 3;
    s.PriorBackupDate = QDate(2025, 2, 28);
    s.AutoBackupPath = QStringLiteral("/backups/bob's.dat");
    s.AutoCompress = false;
    s.MinLockTime = 12;
    s.ShowPassword = false;
    s.Custom1 = QStringLiteral("6|66");
    return s;
}

const QList<RecordInput> kAliceRecords = {
    {kTravel, QStringLiteral("航空公司"), QStringLiteral("A-1234"), QStringLiteral("fly-pw"),
     QStringLiteral("2019-05-01"), QStringLiteral("https://air.example"), QStringLiteral("常旅客")},
    {QStringLiteral("网站帐号"), QStringLiteral("论坛 O'Neil"), QStringLiteral("alice"),
     QStringLiteral("pw with 'quote' 和中文"), QString(), QString(), QString(1500, QChar(u'长'))},
    {QStringLiteral("其它"), QStringLiteral("空密码"), QStringLiteral("nobody"), QString(),
     QString(), QString(), QString()},
};
// bob's records when the earlier backup was taken, and the one he added since.
const QList<RecordInput> kBobBackedUpRecords = {
    {QStringLiteral("工作"), QStringLiteral("公司邮箱"), QStringLiteral("bob@corp"),
     QStringLiteral("corp-pw"), QStringLiteral("2011-03-05"),
     QStringLiteral("https://corp.example"), QStringLiteral("it's \"quoted\"")},
    {QStringLiteral("银行帐号"), QStringLiteral("招商银行"), QStringLiteral("6225 0000"),
     QStringLiteral("bank-pw"), QString(), QString(), QStringLiteral("多行\n备注")},
};
const RecordInput kBobLaterRecord = {QStringLiteral("其它"),
                                     QStringLiteral("后来的"),
                                     QStringLiteral("later"),
                                     QStringLiteral("later-pw"),
                                     QString(),
                                     QString(),
                                     QString()};

using testfiles::readAll;
using testfiles::scrambled;
using testfiles::unscrambled;
using testfiles::writeAll;

struct Fixture {
    QByteArray running;       // the data file as a started program leaves it on disk
    QByteArray atRest;        // the same, scrambled
    QByteArray earlierBackup; // a backup taken before bob's last record
    State state;              // what the data file holds
    State backedUp;           // what the earlier backup holds
};

Session login(Vault &vault, const QString &name, const QString &password) {
    std::optional<Session> session = vault.users().login(name, password);
    if (!session)
        throw std::runtime_error("the fixture's login failed");
    return std::move(*session);
}

Fixture buildFixture() {
    QTemporaryDir folder;
    Fixture f;
    {
        Started started = startUp(folder.path());
        Vault &vault = *started->vault();
        vault.users().registerUser(kAlice, kAlicePassword, kToday, folder.path());
        vault.users().registerUser(kBob, kBobPassword, kToday, folder.path());
        vault.users().saveSettings(kAlice, aliceSettings());
        vault.users().saveSettings(kBob, bobSettings());
        vault.categories(kAlice).add({kTravel, kTravelIcon});
        vault.categories(kBob).add({QStringLiteral("工作"), 14});
        Session alice = login(vault, kAlice, kAlicePassword);
        Session bob = login(vault, kBob, kBobPassword);
        RecordStore aliceRecords = vault.records(alice);
        for (const RecordInput &r : kAliceRecords)
            aliceRecords.add(r);
        for (const RecordInput &r : kBobBackedUpRecords)
            vault.records(bob).add(r);
        // Pages that a compaction gives back.
        const qint64 gone = aliceRecords.add({QStringLiteral("其它"), QStringLiteral("删掉的"),
                                              QString(), QStringLiteral("x"), QString(), QString(),
                                              QString(20000, QLatin1Char('z'))});
        aliceRecords.remove(gone);

        const QString backup = folder.filePath(QStringLiteral("earlier.dat"));
        QString why;
        if (!BackupDatabase(vault, backup, true, &why))
            throw std::runtime_error("no earlier backup: " + why.toStdString());
        f.earlierBackup = readAll(backup);
        QFile::remove(backup);
        vault.records(bob).add(kBobLaterRecord);
    }
    // The program's own end left the file at rest.
    f.atRest = readAll(dataFileIn(folder.path()));
    f.running = unscrambled(f.atRest);

    QList<QStringList> alice, bob;
    for (const RecordInput &r : kAliceRecords)
        alice << fields(r);
    for (const RecordInput &r : kBobBackedUpRecords)
        bob << fields(r);
    const QList<Category> aliceTypes = withDefaults({{kTravel, kTravelIcon}});
    const QList<Category> bobTypes = withDefaults({{QStringLiteral("工作"), 14}});
    f.backedUp = {{kAlice, {kAlicePassword, aliceSettings(), aliceTypes, alice}},
                  {kBob, {kBobPassword, bobSettings(), bobTypes, bob}}};
    f.state = f.backedUp;
    f.state[kBob].records << fields(kBobLaterRecord);

    // The checks below compare with these models; the files must hold them to begin with.
    writeAll(dataFileIn(folder.path()), f.running);
    auto vault = Vault::open(dataFileIn(folder.path()));
    if (!matches(readState(*vault), f.state))
        throw std::runtime_error("the fixture does not hold what it was given:\n" +
                                 describe(readState(*vault)));
    return f;
}

const Fixture &fixture() {
    static const Fixture f = buildFixture();
    return f;
}

// ---- Scenarios ----

enum class Layout {
    Empty,   // a first start: no data file
    AtRest,  // the data file scrambled, as the program leaves it
    Running, // the data file in use, as a start leaves it
};

struct Scenario {
    const char *name;
    Layout layout;
    bool earlierBackup = false; // an earlier backup lies at the backup target
    bool restoreSource = false; // the backup a restore reads
    // The fixture's state once the operation has finished.
    std::function<State(const Fixture &)> after = [](const Fixture &f) { return f.state; };
    // A backup scenario's compaction flag; the next backup (which removes what the killed one
    // left) is made the same way.
    std::optional<bool> backupCompacts = std::nullopt;
    // The compaction scenario: the next compaction removes what the killed one left.
    bool compacts = false;
    // The exit scenario: once it finished, the file is scrambled and the lock is gone.
    bool exits = false;
};

void PrintTo(const Scenario &s, std::ostream *os) {
    *os << s.name;
}

const std::vector<Scenario> &scenarios() {
    static const std::vector<Scenario> table = {
        {.name = "first-start",
         .layout = Layout::Empty,
         .after = [](const Fixture &) { return State(); }},
        {.name = "start", .layout = Layout::AtRest},
        {.name = "exit", .layout = Layout::Running, .exits = true},
        {.name = "backup-compact",
         .layout = Layout::Running,
         .earlierBackup = true,
         .backupCompacts = true},
        {.name = "backup-copy",
         .layout = Layout::Running,
         .earlierBackup = true,
         .backupCompacts = false},
        {.name = "compact", .layout = Layout::Running, .compacts = true},
        // bob's categories, records and settings from the backup replace alice's; her
        // passwords decrypt under her own key.
        {.name = "restore",
         .layout = Layout::Running,
         .restoreSource = true,
         .after =
             [](const Fixture &f) {
                 State s = f.state;
                 const UserState &bob = f.backedUp.at(kBob);
                 s[kAlice] = {kAlicePassword, bob.settings, bob.categories, bob.records};
                 return s;
             }},
        // All nine categories and no record, or no carol at all.
        {.name = "register",
         .layout = Layout::Running,
         .after =
             [](const Fixture &f) {
                 State s = f.state;
                 s[kCarol] = {kCarolPassword, std::nullopt, withDefaults({}), {}};
                 return s;
             }},
        {.name = "record-add",
         .layout = Layout::Running,
         .after =
             [](const Fixture &f) {
                 State s = f.state;
                 s[kAlice].records << fields(addedRecord());
                 return s;
             }},
        {.name = "record-update",
         .layout = Layout::Running,
         .after =
             [](const Fixture &f) {
                 State s = f.state;
                 s[kAlice].records[0] = fields(updatedRecord());
                 return s;
             }},
        // Exactly one of the two passwords logs in, and the records still decrypt.
        {.name = "password",
         .layout = Layout::Running,
         .after =
             [](const Fixture &f) {
                 State s = f.state;
                 s[kAlice].password = kAliceNewPassword;
                 return s;
             }},
    };
    return table;
}

// ---- Running the worker ----

struct Outcome {
    bool finished = false; // the operation ended before the chosen step
    long steps = 0;        // the step it stopped at, or every step when finished
    std::string line;
};

// Runs the worker up to `stopAt` (0: to the end) and kills it where it stops, or where it has
// finished.
std::optional<Outcome> runWorker(const Scenario &scenario, const QString &folder, long stopAt) {
    const std::string program = OMBRIVO_CRASH_WORKER;
    const std::string path = QFile::encodeName(folder).toStdString();
    const std::string step = std::to_string(stopAt);
    std::string name = scenario.name;
    // OMBRIVO_CRASH_TRACE=1 lists every step of the whole operation on stderr.
    std::string trace = "trace";
    const bool traced = stopAt == 0 && qEnvironmentVariableIsSet("OMBRIVO_CRASH_TRACE");
    char *argv[] = {const_cast<char *>(program.c_str()), name.data(),
                    const_cast<char *>(path.c_str()),    const_cast<char *>(step.c_str()),
                    traced ? trace.data() : nullptr,     nullptr};
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "no pipe";
        return std::nullopt;
    }
    // The worker's standard output is the pipe; its errors go where the test's go.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        ADD_FAILURE() << "the worker did not start: " << std::strerror(spawned);
        return std::nullopt;
    }
    std::string output;
    for (;;) {
        pollfd ready{out[0], POLLIN, 0};
        if (output.find('\n') != std::string::npos || ::poll(&ready, 1, 120000) <= 0)
            break;
        char buffer[512];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        output.append(buffer, size_t(n));
    }
    Outcome outcome;
    outcome.line = output.substr(0, output.find('\n'));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(out[0]);
    outcome.finished = outcome.line.rfind("done ", 0) == 0;
    outcome.steps = std::atol(outcome.line.c_str() + 5);
    const bool stopped = outcome.line.rfind("step ", 0) == 0 && outcome.steps == stopAt;
    // A worker that failed has exited by itself before the kill.
    if (!(stopped || outcome.finished) || !WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL) {
        ADD_FAILURE() << "the worker did not stop at step " << stopAt << " (status " << status
                      << "): " << outcome.line;
        return std::nullopt;
    }
    return outcome;
}

// ---- The checks after a run ----

QString backupTarget(const QString &folder) {
    return backupIn(folder);
}

// A backup that unscrambles into a data file holding the whole fixture.
void expectCompleteBackup(const QString &backup, const State &expected, const char *what) {
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("backup.dat"));
    writeAll(copy, scrambled(readAll(backup)));
    try {
        auto vault = Vault::open(copy);
        const State held = readState(*vault);
        EXPECT_TRUE(matches(held, expected)) << what << " holds\n" << describe(held);
    } catch (const std::exception &error) {
        ADD_FAILURE() << what << " is not a whole backup: " << error.what();
    }
}

QStringList entriesOf(const QString &folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void prepare(const Scenario &scenario, const QString &folder) {
    const Fixture &f = fixture();
    if (scenario.layout == Layout::AtRest)
        writeAll(dataFileIn(folder), f.atRest);
    if (scenario.layout == Layout::Running)
        writeAll(dataFileIn(folder), f.running);
    if (scenario.earlierBackup)
        writeAll(backupTarget(folder), f.earlierBackup);
    if (scenario.restoreSource)
        writeAll(restoreSourceIn(folder), f.earlierBackup);
}

// SQLite's journal of a transaction killed before its header was written: it is never played
// back, and the next write transaction reuses it.
bool isDeadJournal(const QString &folder, const QString &name) {
    if (name != QLatin1String(datafile::kFileName) + QLatin1String("-journal"))
        return false;
    const QByteArray bytes = readAll(QDir(folder).filePath(name));
    return bytes.isEmpty() || bytes.at(0) == 0;
}

// The names the folder may hold besides the data file: the backups the scenario put there.
QStringList expectedEntries(const Scenario &scenario, const QString &folder) {
    QStringList expected{QLatin1String(datafile::kFileName)};
    if (scenario.backupCompacts)
        expected << QFileInfo(backupTarget(folder)).fileName();
    if (scenario.restoreSource)
        expected << QFileInfo(restoreSourceIn(folder)).fileName();
    expected.sort();
    return expected;
}

// What is in the folder that is neither expected, nor the lock, nor a dead journal.
QStringList strayEntries(const Scenario &scenario, const QString &folder) {
    const QStringList expected = expectedEntries(scenario, folder);
    QStringList stray;
    for (const QString &name : entriesOf(folder))
        if (!expected.contains(name) && name != QFileInfo(lockFileIn(folder)).fileName() &&
            !isDeadJournal(folder, name))
            stray << name;
    return stray;
}

// What the next start finds, and what the next run of the same operation leaves.
void check(const Scenario &scenario, const QString &folder, bool finished) {
    const Fixture &f = fixture();
    const State before = scenario.layout == Layout::Empty ? State() : f.state;
    const State after = scenario.after(f);

    if (finished && scenario.exits) {
        EXPECT_FALSE(QFile::exists(lockFileIn(folder))) << "the lock stays after the exit";
        EXPECT_THROW(Vault::open(dataFileIn(folder)), VaultError)
            << "the data file is not scrambled after the exit";
    }

    Started started;
    try {
        started = startUp(folder);
    } catch (const std::exception &error) {
        ADD_FAILURE() << "the next start fails: " << error.what() << "\nthe folder holds "
                      << entriesOf(folder).join(QStringLiteral(", ")).toStdString();
        return;
    }
    // The start removes what an interrupted unscrambling or restore left.
    for (const QString &name : entriesOf(folder)) {
        const QString prefix = QLatin1String(datafile::kFileName) + QLatin1Char('.');
        EXPECT_FALSE(name.startsWith(prefix) || name == QLatin1String("$Restore"))
            << name.toStdString() << " stays after the start";
    }

    const State found = readState(*started->vault());
    if (finished)
        EXPECT_TRUE(matches(found, after)) << "after the whole operation the file holds\n"
                                           << describe(found) << "instead of\n"
                                           << describe(after);
    else
        EXPECT_TRUE(matches(found, before) || matches(found, after))
            << "the file holds\n"
            << describe(found) << "which is neither the state before\n"
            << describe(before) << "nor the one after\n"
            << describe(after);

    // A backup that did not finish leaves the earlier one as it was; one that did is whole.
    // What it left beside the target, the next backup removes.
    const QStringList stray = strayEntries(scenario, folder);
    if (scenario.backupCompacts) {
        const QString target = backupTarget(folder);
        if (finished || readAll(target) != f.earlierBackup)
            expectCompleteBackup(target, f.state, "the new backup");
        if (!stray.isEmpty()) {
            QString why;
            EXPECT_TRUE(BackupDatabase(*started->vault(), target, *scenario.backupCompacts, &why))
                << "the next backup fails: " << why.toStdString();
            expectCompleteBackup(target, f.state, "the next backup");
        }
    }
    // What a compaction left, the next one removes.
    if (scenario.compacts && !stray.isEmpty()) {
        try {
            started->vault()->compact(compactTemporaryIn(folder));
            EXPECT_TRUE(matches(readState(*started->vault()), before))
                << "the next compaction loses data";
        } catch (const std::exception &error) {
            ADD_FAILURE() << "the next compaction fails: " << error.what();
        }
    }
    if (scenario.restoreSource) {
        EXPECT_EQ(readAll(restoreSourceIn(folder)), f.earlierBackup)
            << "the restore wrote to the backup it read";
    }

    started->stop();
    const QStringList left = strayEntries(scenario, folder);
    EXPECT_TRUE(left.isEmpty()) << "left in the folder: "
                                << left.join(QStringLiteral(", ")).toStdString();
    EXPECT_FALSE(QFile::exists(lockFileIn(folder)));
    for (const QString &name : expectedEntries(scenario, folder))
        EXPECT_TRUE(QFile::exists(QDir(folder).filePath(name))) << name.toStdString() << " is gone";
}

class CrashSteps : public ::testing::TestWithParam<Scenario> {};

TEST_P(CrashSteps, EveryKillPointLeavesAWholeDataFile) {
    const Scenario &scenario = GetParam();
    fixture();
    long steps = 0;
    {
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/ombrivo crash-XXXXXX"));
        prepare(scenario, folder.path());
        const std::optional<Outcome> whole = runWorker(scenario, folder.path(), 0);
        ASSERT_TRUE(whole);
        SCOPED_TRACE("the whole operation");
        check(scenario, folder.path(), true);
        steps = whole->steps;
    }
    ASSERT_GT(steps, 0) << "the operation changed no file";

    // The kill points are independent of each other: each has its folder and its worker.
    std::atomic<long> next{1};
    auto killAtEachStep = [&] {
        for (long n = next++; n <= steps; n = next++) {
            QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/ombrivo crash-XXXXXX"));
            prepare(scenario, folder.path());
            const std::optional<Outcome> killed = runWorker(scenario, folder.path(), n);
            if (!killed)
                continue;
            if (killed->finished) {
                ADD_FAILURE() << "the operation ended before step " << n << " this time";
                continue;
            }
            SCOPED_TRACE("killed before " + killed->line);
            check(scenario, folder.path(), false);
        }
    };
    std::vector<std::thread> runners;
    for (int i = 0; i < std::max(1, QThread::idealThreadCount()); ++i)
        runners.emplace_back(killAtEachStep);
    for (std::thread &runner : runners)
        runner.join();

    RecordProperty("kill_points", int(steps));
    std::printf("[ kill points ] %s: %ld\n", scenario.name, steps);
}

INSTANTIATE_TEST_SUITE_P(Operations, CrashSteps, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<Scenario> &info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
