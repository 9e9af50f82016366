#pragma once

#include "core/InstanceLock.h"
#include "vault/Vault.h"

#include <QByteArray>
#include <QString>
#include <memory>

// The program's hold on its data folder, from the start to the orderly end: one program per
// folder (the lock file), the leftovers of an interrupted run cleared, the data file in use; at
// the end the data file closed, scrambled again, and the lock given up. The program's start and
// the crash suite both go through here, so both do exactly the same to the files.
class DataFolder {
public:
    static constexpr char kLockFileName[] = "SystemData.lock";

    explicit DataFolder(QString folder);
    // Ends as stop() does, keeping quiet about a failure.
    ~DataFolder();
    DataFolder(const DataFolder &) = delete;
    DataFolder &operator=(const DataFolder &) = delete;

    const QString &folder() const { return m_folder; }
    QString dataFilePath() const;
    // Where a restore keeps its private files; whatever is there at a start is a crashed
    // restore's and goes.
    static QString restoreWorkFolder(const QString &folder);
    static void removeLeftovers(const QString &folder);

    // Takes the one-program lock, without waiting.
    instancelock::Result lock();
    // With the lock held: clears an interrupted restore's leftovers and brings the data file into
    // use, written from `scrambledTemplate` when there is none. Throws as datafile::open does,
    // and gives up the lock then.
    Vault &open(const QByteArray &scrambledTemplate);
    Vault *vault() const { return m_vault.get(); }

    // The orderly end: closes the data file, scrambles it and gives up the lock, which goes
    // whatever failed. Throws when the file could not be scrambled; it stays whole then.
    void stop();

private:
    QString m_folder;
    instancelock::Lock m_lock;
    std::unique_ptr<Vault> m_vault;
};
