// Runs one operation on a prepared data folder and is killed at one of its file steps.
//
//     crash_worker SCENARIO FOLDER STEP [trace]
//
// Whatever the scenario needs before its operation (the start, a login) happens unarmed. Then
// the steps are counted: at step STEP the worker prints "step STEP <call> <path>" and waits for
// its SIGKILL; when the operation ends before that (STEP 0 never stops) it prints "done <steps>"
// and waits all the same.
#include "crash_fixture.h"
#include "crash_interpose.h"

#include "core/SearchKeys.h"
#include "maintenance/Backup.h"
#include "maintenance/Restore.h"
#include "records/RecordStore.h"
#include "users/Session.h"
#include "users/UserStore.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

using namespace crash;

Session login(Vault &vault, const QString &user, const QString &password) {
    std::optional<Session> session = vault.users().login(user, password);
    if (!session)
        throw std::runtime_error("the fixture's login failed");
    return std::move(*session);
}

// Prepares the scenario and returns its operation.
using Operation = std::function<void()>;
using Scenario = std::function<Operation(const QString &folder)>;

// The state a scenario keeps between its preparation and its operation.
struct Running {
    Started started;
    std::optional<Session> session;
};
Running g_running;

void startAndLogin(const QString &folder) {
    g_running.started = startUp(folder);
    g_running.session = login(*g_running.started->vault(), kAlice, kAlicePassword);
}

// The first pinyin lookup loads ICU's transliterator, which takes long; the record saves get it
// done before their steps are counted, as a running program has long done.
void warmUpSearchKeys() {
    searchKeysFor(QStringLiteral("预热"));
}

Operation backupOperation(const QString &folder, bool compact) {
    g_running.started = startUp(folder);
    return [folder, compact] {
        QString why;
        if (!BackupDatabase(*g_running.started->vault(), backupIn(folder), compact, &why))
            throw std::runtime_error("the backup failed: " + why.toStdString());
    };
}

const std::map<std::string, Scenario> &scenarios() {
    static const std::map<std::string, Scenario> table = {
        {"first-start",
         [](const QString &folder) -> Operation {
             return [folder] { g_running.started = startUp(folder); };
         }},
        {"start",
         [](const QString &folder) -> Operation {
             return [folder] { g_running.started = startUp(folder); };
         }},
        // The program's own end: the key goes, the database closes, the file is scrambled and
        // the lock is given up.
        {"exit",
         [](const QString &folder) -> Operation {
             startAndLogin(folder);
             return [folder] {
                 g_running.session.reset();
                 g_running.started->stop();
             };
         }},
        {"backup-compact", [](const QString &folder) { return backupOperation(folder, true); }},
        {"backup-copy", [](const QString &folder) { return backupOperation(folder, false); }},
        {"compact",
         [](const QString &folder) -> Operation {
             g_running.started = startUp(folder);
             return [folder] { g_running.started->vault()->compact(compactTemporaryIn(folder)); };
         }},
        // As the restore window: the backup opens, bob's categories, records and settings
        // replace alice's, and the private copy goes away.
        {"restore",
         [](const QString &folder) -> Operation {
             startAndLogin(folder);
             return [folder] {
                 auto backup = BackupFile::open(restoreSourceIn(folder), folder);
                 backup->restoreInto(*g_running.started->vault(), *g_running.session, kBob,
                                     kBobPassword, true);
                 backup.reset();
             };
         }},
        {"register",
         [](const QString &folder) -> Operation {
             g_running.started = startUp(folder);
             return [folder] {
                 g_running.started->vault()->users().registerUser(kCarol, kCarolPassword, kToday,
                                                                  folder);
             };
         }},
        {"record-add",
         [](const QString &folder) -> Operation {
             startAndLogin(folder);
             warmUpSearchKeys();
             return
                 [] { g_running.started->vault()->records(*g_running.session).add(addedRecord()); };
         }},
        {"record-update",
         [](const QString &folder) -> Operation {
             startAndLogin(folder);
             warmUpSearchKeys();
             RecordStore store = g_running.started->vault()->records(*g_running.session);
             const qint64 first = store.all().at(0).id;
             return [first] {
                 g_running.started->vault()
                     ->records(*g_running.session)
                     .update(first, updatedRecord());
             };
         }},
        {"password",
         [](const QString &folder) -> Operation {
             startAndLogin(folder);
             return [] {
                 g_running.started->vault()->users().changePassword(*g_running.session,
                                                                    kAliceNewPassword);
             };
         }},
    };
    return table;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 4 || argc > 5 || (argc == 5 && std::strcmp(argv[4], "trace") != 0)) {
        std::fprintf(stderr, "usage: %s SCENARIO FOLDER STEP [trace]\n", argv[0]);
        return 2;
    }
    QCoreApplication app(argc, argv);
    const auto scenario = scenarios().find(argv[1]);
    if (scenario == scenarios().end()) {
        std::fprintf(stderr, "%s: no scenario %s\n", argv[0], argv[1]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    try {
        crypto::init();
        const Operation operation = scenario->second(folder);
        crash::arm(std::atol(argv[3]), argv[2], argc == 5);
        operation();
        const long steps = crash::disarm();
        crash::report(("done " + std::to_string(steps) + '\n').c_str());
        // Killed here too: what the test finds is the operation's end, not what the
        // destructors of a normal exit add to it.
        for (;;)
            pause();
    } catch (const std::exception &error) {
        crash::disarm();
        std::fprintf(stderr, "%s %s: %s\n", argv[0], argv[1], error.what());
        return 1;
    }
    return 0;
}
