#pragma once

// What the crash worker and its driver share: the data folder's file names, the fixture's users
// and records, the operation each scenario runs, and the file steps of a start.

#include "core/InstanceLock.h"
#include "maintenance/Restore.h"
#include "records/RecordStore.h"
#include "vault/DataFile.h"
#include "vault/DataFolder.h"
#include "vault/Vault.h"

#include <QDate>
#include <QFile>
#include <QString>
#include <memory>
#include <stdexcept>

namespace crash {

inline const QString kAlice = QStringLiteral("alice");
inline const QString kAlicePassword = QStringLiteral("alice-pw1");
inline const QString kAliceNewPassword = QStringLiteral("alice-新密码");
inline const QString kBob = QStringLiteral("bob");
inline const QString kBobPassword = QStringLiteral("bob's pw");
inline const QString kCarol = QStringLiteral("carol");
inline const QString kCarolPassword = QStringLiteral("carol-pw");
inline const QDate kToday(2026, 12, 10);

// alice's category of her own, besides the nine every user starts with.
inline const QString kTravel = QStringLiteral("旅行");
constexpr int kTravelIcon = 12;

// The record a save adds, and what an update writes over alice's first record.
inline RecordInput addedRecord() {
    return {QStringLiteral("邮箱帐号"),   QStringLiteral("新邮箱"),
            QStringLiteral("alice@new"),  QStringLiteral("new-mail-pw"),
            QStringLiteral("2026-12-10"), QStringLiteral("https://mail.example"),
            QStringLiteral("刚加的")};
}
inline RecordInput updatedRecord() {
    return {kTravel,
            QStringLiteral("航空公司 (改)"),
            QStringLiteral("A-1234"),
            QStringLiteral("changed-pw"),
            QStringLiteral("2020-02-29"),
            QString(),
            QStringLiteral("改过了")};
}

inline QString dataFileIn(const QString &folder) {
    return folder + QLatin1Char('/') + QLatin1String(datafile::kFileName);
}
inline QString lockFileIn(const QString &folder) {
    return folder + QStringLiteral("/SystemData.lock");
}
// The default target of a backup, where an earlier backup already lies.
inline QString backupIn(const QString &folder) {
    return folder + QStringLiteral("/SystemDataBackup.dat");
}
// The backup a restore reads; bob's records in it are older than his live ones.
inline QString restoreSourceIn(const QString &folder) {
    return folder + QStringLiteral("/备份 bob's.dat");
}
// The temporary name the tools window compacts through.
inline QString compactTemporaryIn(const QString &folder) {
    return folder + QStringLiteral("/$Temp.tmp");
}

// The scrambled empty data file a first start writes out, as the program carries it.
inline QByteArray scrambledTemplate() {
    QFile file(QStringLiteral(":/SystemData.template"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("the data-file template is not among the resources");
    return file.readAll();
}

// A started program's hold on its data folder, taken and given up as the program does it.
using Started = std::unique_ptr<DataFolder>;

// The program's own start, on the files: the lock (a dead process's lock is stale however
// young, and so is an empty one), a restore's leftovers removed, the data file in use.
inline Started startUp(const QString &folder) {
    auto started = std::make_unique<DataFolder>(folder);
    if (started->lock() != instancelock::Result::Taken)
        throw std::runtime_error("the lock file is held");
    started->open(scrambledTemplate()).setKdfParams(crypto::KdfParams::minimal());
    return started;
}

} // namespace crash
