#pragma once

#include "core/Services.h"

#include <QMainWindow>
#include <memory>

class Session;
class Vault;

// The main window of a logged-in user. Closing it ends the program.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    FrmMain(Vault &vault, std::shared_ptr<Session> session, const Services &services,
            QWidget *parent = nullptr);
    ~FrmMain() override;

signals:
    // The window went away: the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void updateCaption();

    Vault &m_vault;
    std::shared_ptr<Session> m_session;
    Services m_services;
};
