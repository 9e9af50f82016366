#pragma once

#include "core/Services.h"

#include <QDialog>

class QLineEdit;
class Session;
class Vault;

// Unlocks a locked program with the logged-in user's login password.
class FrmLoosenLock : public QDialog {
    Q_OBJECT
public:
    FrmLoosenLock(Vault &vault, Session &session, const Services &services,
                  QWidget *parent = nullptr);

signals:
    // The right password was given; the session has its key again.
    void unlocked();

public slots:
    void CmdUntie_Click();

private:
    Vault &m_vault;
    Session &m_session;
    Services m_services;
    QLineEdit *m_TxtPwd;
};
