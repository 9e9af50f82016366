// Taking the data folder's lock file: what a crash or another running program left decides.
#include "core/InstanceLock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct Case {
    const char *name;
    // Prepares the folder; may keep a lock of its own alive in `holder`.
    std::function<void(const QString &lockPath, std::unique_ptr<QLockFile> &holder)> prepare;
    instancelock::Result expected;
};

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class InstanceLock : public ::testing::TestWithParam<Case> {};

TEST_P(InstanceLock, TakesWhatNoLiveProcessHolds) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("SystemData.lock"));
    std::unique_ptr<QLockFile> holder;
    GetParam().prepare(path, holder);

    QLockFile lock(path);
    EXPECT_EQ(instancelock::take(lock), GetParam().expected);
    EXPECT_EQ(lock.isLocked(), GetParam().expected == instancelock::Result::Taken);
    if (lock.isLocked()) {
        // Taken over, the file names this process, so the next start sees a live holder.
        QLockFile next(path);
        EXPECT_EQ(instancelock::take(next), instancelock::Result::Held);
    }
}

const Case kCases[] = {
    {"no_lock_file", [](const QString &, std::unique_ptr<QLockFile> &) {},
     instancelock::Result::Taken},
    // What a process killed between creating the file and writing its id leaves.
    {"empty_lock_file",
     [](const QString &path, std::unique_ptr<QLockFile> &) { writeFile(path, {}); },
     instancelock::Result::Taken},
    {"held_by_a_running_program",
     [](const QString &path, std::unique_ptr<QLockFile> &holder) {
         holder = std::make_unique<QLockFile>(path);
         ASSERT_TRUE(holder->tryLock(0));
     },
     instancelock::Result::Held},
};

INSTANTIATE_TEST_SUITE_P(Cases, InstanceLock, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case> &info) {
                             return std::string(info.param.name);
                         });

TEST(InstanceLockFolder, AFolderThatCannotHoldTheLockIsUnusable) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A plain file where the folder should be: no user, root included, can create a file in it.
    const QString notAFolder = folder.filePath(QStringLiteral("file"));
    writeFile(notAFolder, "x");
    QLockFile lock(notAFolder + QStringLiteral("/SystemData.lock"));
    EXPECT_EQ(instancelock::take(lock), instancelock::Result::Unusable);
}

} // namespace
