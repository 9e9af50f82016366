#include "vault/DataFolder.h"

#include "vault/DataFile.h"

#include <QDir>

DataFolder::DataFolder(QString folder)
    : m_folder(std::move(folder)),
      m_lock(m_folder + QLatin1Char('/') + QLatin1String(kLockFileName)) {}

DataFolder::~DataFolder() {
    try {
        stop();
    } catch (const std::exception &) {
        // The file stays unscrambled but whole; the next start uses it as it is.
    }
}

QString DataFolder::dataFilePath() const {
    return m_folder + QLatin1Char('/') + QLatin1String(datafile::kFileName);
}

QString DataFolder::restoreWorkFolder(const QString &folder) {
    return folder + QStringLiteral("/$Restore");
}

instancelock::Result DataFolder::lock() {
    return m_lock.take();
}

void DataFolder::removeLeftovers(const QString &folder) {
    QDir(restoreWorkFolder(folder)).removeRecursively();
}

Vault &DataFolder::open(const QByteArray &scrambledTemplate) {
    removeLeftovers(m_folder);
    try {
        m_vault = datafile::open(dataFilePath(), scrambledTemplate);
    } catch (...) {
        m_lock.release();
        throw;
    }
    return *m_vault;
}

void DataFolder::stop() {
    // The lock goes last, and whatever failed before it.
    struct Release {
        instancelock::Lock &lock;
        ~Release() { lock.release(); }
    } release{m_lock};
    if (!m_vault)
        return;
    m_vault->close();
    m_vault.reset();
    datafile::scramble(dataFilePath());
}
