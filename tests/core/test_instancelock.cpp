// Taking the data folder's lock file: what a crash or another running program left decides.
#include "core/InstanceLock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <latch>
#include <memory>
#include <thread>

namespace {

using instancelock::Lock;
using instancelock::Result;

struct Case {
    const char *name;
    // Prepares the folder; may keep a lock of its own alive in `holder`.
    std::function<void(const QString &lockPath, std::unique_ptr<Lock> &holder)> prepare;
    Result expected;
};

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class InstanceLock : public ::testing::TestWithParam<Case> {};

TEST_P(InstanceLock, TakesWhatNoLiveProcessHolds) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("SystemData.lock"));
    std::unique_ptr<Lock> holder;
    GetParam().prepare(path, holder);

    Lock lock(path);
    EXPECT_EQ(lock.take(), GetParam().expected);
    EXPECT_EQ(lock.isLocked(), GetParam().expected == Result::Taken);
    if (lock.isLocked()) {
        // Taken over, the lock is live, so the next start sees a running program.
        Lock next(path);
        EXPECT_EQ(next.take(), Result::Held);
        lock.release();
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(next.take(), Result::Taken);
    }
}

const Case kCases[] = {
    {"no_lock_file", [](const QString &, std::unique_ptr<Lock> &) {}, Result::Taken},
    // What a process killed between creating the file and writing into it leaves.
    {"empty_lock_file", [](const QString &path, std::unique_ptr<Lock> &) { writeFile(path, {}); },
     Result::Taken},
    {"left_by_a_process_that_died",
     [](const QString &path, std::unique_ptr<Lock> &) { writeFile(path, "999999\nOmbrivo\n"); },
     Result::Taken},
    {"held_by_a_running_program",
     [](const QString &path, std::unique_ptr<Lock> &holder) {
         holder = std::make_unique<Lock>(path);
         ASSERT_EQ(holder->take(), Result::Taken);
     },
     Result::Held},
    // A live holder whose file says nothing (yet) still holds it: no waiting decides.
    {"held_by_a_running_program_with_an_empty_file",
     [](const QString &path, std::unique_ptr<Lock> &holder) {
         holder = std::make_unique<Lock>(path);
         ASSERT_EQ(holder->take(), Result::Taken);
         writeFile(path, {});
     },
     Result::Held},
};

INSTANTIATE_TEST_SUITE_P(Cases, InstanceLock, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case> &info) {
                             return std::string(info.param.name);
                         });

// Two programs started together over a crashed start's empty lock file: exactly one runs.
TEST(InstanceLockRace, TwoTakersAtOnceOverAnEmptyFileOneWins) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("SystemData.lock"));
    for (int round = 0; round < 20; ++round) {
        writeFile(path, {});
        Lock first(path), second(path);
        Result results[2] = {Result::Unusable, Result::Unusable};
        std::latch start(2);
        std::thread other([&] {
            start.arrive_and_wait();
            results[1] = second.take();
        });
        start.arrive_and_wait();
        results[0] = first.take();
        other.join();
        const int taken = int(results[0] == Result::Taken) + int(results[1] == Result::Taken);
        const int held = int(results[0] == Result::Held) + int(results[1] == Result::Held);
        EXPECT_EQ(taken, 1) << "round " << round;
        EXPECT_EQ(held, 1) << "round " << round;
    }
}

TEST(InstanceLockFolder, AFolderThatCannotHoldTheLockIsUnusable) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A plain file where the folder should be: no user, root included, can create a file in it.
    const QString notAFolder = folder.filePath(QStringLiteral("file"));
    writeFile(notAFolder, "x");
    Lock lock(notAFolder + QStringLiteral("/SystemData.lock"));
    EXPECT_EQ(lock.take(), Result::Unusable);
    EXPECT_FALSE(lock.isLocked());
}

} // namespace
