#pragma once

#include "core/Services.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class Session;
class Vault;

// The first window: pick a user, type his password, log in; or register a new user.
class FrmLogin : public QDialog {
    Q_OBJECT
public:
    FrmLogin(Vault &vault, const Services &services, QWidget *parent = nullptr);
    ~FrmLogin() override;

    int loginFailCount() const { return m_LoginFailCount; }

signals:
    // A user logged in; the window closes right after.
    void loggedIn(std::shared_ptr<Session> session);
    // The window went away without a login: the program ends.
    void closedWithoutLogin();

public slots:
    void CmdLogin_Click();
    void CmdRegNewUser_Click();
    void CmdCancel_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillUsers();
    void focusPasswordIfUserChosen();

    Vault &m_vault;
    Services m_services;
    int m_LoginFailCount = 0;
    bool m_loggedIn = false;

    QLabel *m_PicLogo;
    QFrame *m_PicOther;
    QLabel *m_lblUser;
    QComboBox *m_CbUser;
    QLabel *m_lblPass;
    QLineEdit *m_TxtPass;
    QPushButton *m_CmdLogin;
    QPushButton *m_CmdRegNewUser;
    QPushButton *m_CmdCancel;
};
