#pragma once

#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QDate>
#include <QTemporaryDir>
#include <memory>

// An open, empty data file in a temporary folder, with fast password hashing.
struct VaultFixture {
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("SystemData.dat"));
    std::unique_ptr<Vault> vault;

    VaultFixture() {
        Vault::create(path);
        reopen();
    }
    void reopen() {
        vault.reset();
        vault = Vault::open(path);
        vault->setKdfParams(crypto::KdfParams::minimal());
    }
    void addUser(const QString &name, const QString &password) {
        vault->users().registerUser(name, password, QDate(2026, 12, 10), folder.path());
    }
    Session login(const QString &name, const QString &password) {
        std::optional<Session> session = vault->users().login(name, password);
        if (!session)
            throw std::runtime_error("login failed");
        return std::move(*session);
    }
};
