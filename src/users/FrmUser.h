#pragma once

#include "core/Services.h"

#include <QDialog>

class QLineEdit;
class QWidget;
class Session;
class StrengthMeter;
class Vault;

// The logged-in user changes his name or his login password, or deletes himself.
class FrmUser : public QDialog {
    Q_OBJECT
public:
    enum class Mode { EditUser, EditPassword, Logout };
    FrmUser(Vault &vault, Session &session, const Services &services, Mode mode,
            QWidget *parent = nullptr);

    // After a deletion the program ends without its exit question.
    bool userDeleted() const { return m_deleted; }
    bool userRenamed() const { return m_renamed; }

public slots:
    void CmdOK_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *namePanel();
    QWidget *passwordPanel();
    QWidget *logoutPanel();
    void editUser();
    void editPassword();
    void logout();
    void warn(const QString &text, QLineEdit *focus);

    Vault &m_vault;
    Session &m_session;
    Services m_services;
    Mode m_mode;
    bool m_deleted = false;
    bool m_renamed = false;

    QLineEdit *m_TxtCurrentUser = nullptr;
    QLineEdit *m_TxtNewUser = nullptr;
    QLineEdit *m_TxtoldPwd = nullptr;
    QLineEdit *m_TxtNewPwd = nullptr;
    QLineEdit *m_TxtVerifyPwd = nullptr;
    QLineEdit *m_TxtLogoutPwd = nullptr;
};
