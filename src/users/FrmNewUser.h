#pragma once

#include "core/Services.h"

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class StrengthMeter;
class Vault;

// Registers a new user with every setting at its default and the nine default categories.
class FrmNewUser : public QDialog {
    Q_OBJECT
public:
    FrmNewUser(Vault &vault, const Services &services, QWidget *parent = nullptr);

    // The registered name, empty when the window closed without a registration.
    QString newUserName() const { return m_NewUserName; }

public slots:
    void CmdOK_Click();
    void CmdCancel_Click();

private:
    Vault &m_vault;
    Services m_services;
    QString m_NewUserName;

    QFrame *m_PicOther;
    QLineEdit *m_TxtUser;
    QLineEdit *m_TxtPass;
    QLineEdit *m_TxtVerifyPass;
    StrengthMeter *m_meter;
    QPushButton *m_CmdOK;
    QPushButton *m_CmdCancel;
};
