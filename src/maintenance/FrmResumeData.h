#pragma once

#include "core/Services.h"

#include <QDialog>

class BackupFile;
class QCheckBox;
class QComboBox;
class QLineEdit;
class Session;
class Vault;

// Restores one user of a backup into the logged-in user: categories and records, and the
// settings unless they are kept.
class FrmResumeData : public QDialog {
    Q_OBJECT
public:
    FrmResumeData(BackupFile &backup, Vault &vault, const Session &session,
                  const Services &services, QWidget *parent = nullptr);

    bool restored() const { return m_restored; }

public slots:
    void CmdResume_Click();

private:
    BackupFile &m_backup;
    Vault &m_vault;
    const Session &m_session;
    Services m_services;
    bool m_restored = false;
    QComboBox *m_CbUser;
    QLineEdit *m_TxtPass;
    QCheckBox *m_ChkUserSet;
};
