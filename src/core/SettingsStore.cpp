#include "core/SettingsStore.h"

#include <QSettings>

namespace {
const QString kLastUserKey = QStringLiteral("login/user");
}

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Ombrivo"))) {}

SettingsStore::SettingsStore(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::lastUser() const {
    return m_settings->value(kLastUserKey).toString();
}

void SettingsStore::setLastUser(const QString &name) {
    m_settings->setValue(kLastUserKey, name);
    m_settings->sync();
}

void SettingsStore::forgetLastUser() {
    m_settings->remove(kLastUserKey);
    m_settings->sync();
}
