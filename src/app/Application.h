#pragma once

#include "core/Services.h"
#include "records/FrmMain.h"
#include "storage/Crypto.h"
#include "users/FrmLogin.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>

class DataFolder;
class Session;
class Vault;

// The start-up sequence and the orderly end: one instance per data folder, the data file
// unscrambled and held open while the program runs, and scrambled again whenever it ends.
class Application : public QObject {
    Q_OBJECT
public:
    explicit Application(const Services &services, QObject *parent = nullptr);
    ~Application() override;

    // Runs the start-up sequence and shows the login window. False when the program ends at
    // once (another instance runs, the data file cannot be used); exitCode() then tells how.
    bool start();
    int exitCode() const { return m_exitCode; }

    // Ends the program now, without questions (session end, termination signal).
    void quit();

    QString dataFilePath() const;
    Vault *vault() const;
    FrmLogin *loginWindow() const { return m_login; }
    FrmMain *mainWindow() const { return m_main; }
    // Password hashing cost for new passwords; tests lower it.
    void setKdfParams(const crypto::KdfParams &params) { m_kdf = params; }

signals:
    void finished(int exitCode);

private:
    void showMain(std::shared_ptr<Session> session);
    void shutdown(int exitCode);
    void fail(const QString &text, int exitCode);

    Services m_services;
    std::unique_ptr<DataFolder> m_folder;
    std::shared_ptr<Session> m_session;
    QPointer<FrmLogin> m_login;
    QPointer<FrmMain> m_main;
    std::optional<crypto::KdfParams> m_kdf;
    int m_exitCode = 0;
    bool m_finished = false;
};
