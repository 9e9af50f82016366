#include "users/FrmUser.h"

#include "core/MessageService.h"
#include "core/SettingsStore.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"
#include "ui/StrengthMeter.h"
#include "users/Session.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel *caption(const QString &text, const char *name, QWidget *buddy, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}
} // namespace

FrmUser::FrmUser(Vault &vault, Session &session, const Services &services, Mode mode,
                 QWidget *parent)
    : QDialog(parent), m_vault(vault), m_session(session), m_services(services), m_mode(mode) {
    setObjectName(QStringLiteral("FrmUser"));
    setWindowIcon(artwork::appIcon());
    setModal(true);

    // Only the panel of the chosen mode exists; the window fits it.
    QWidget *panel = nullptr;
    switch (mode) {
    case Mode::EditUser:
        setWindowTitle(tr("修改用户名"));
        panel = namePanel();
        break;
    case Mode::EditPassword:
        setWindowTitle(tr("修改密码"));
        panel = passwordPanel();
        break;
    case Mode::Logout:
        setWindowTitle(tr("注销用户"));
        panel = logoutPanel();
        break;
    }
    auto *CmdOK = ui::button(this, tr("确定(&O)"), "CmdOK", true);
    auto *CmdCancel = ui::button(this, tr("取消(&C)"), "CmdCancel");
    auto *buttons = ui::buttonRow({CmdOK, CmdCancel});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(CmdOK, &QPushButton::clicked, this, &FrmUser::CmdOK_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget *FrmUser::namePanel() {
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PicUserFunction0"));
    m_TxtCurrentUser = ui::lineEdit(panel, "TxtCurrentUser");
    m_TxtCurrentUser->setReadOnly(true);
    m_TxtCurrentUser->setText(m_session.userName());
    m_TxtNewUser = ui::lineEdit(panel, "TxtNewUser");
    auto *form = new QFormLayout(panel);
    form->addRow(caption(tr("当前用户名:"), "lblCurrentUser", m_TxtCurrentUser, panel),
                 m_TxtCurrentUser);
    form->addRow(caption(tr("新用户名:"), "lblNewUser", m_TxtNewUser, panel), m_TxtNewUser);
    m_TxtNewUser->setMinimumWidth(220);
    return panel;
}

QWidget *FrmUser::passwordPanel() {
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PicUserFunction1"));
    m_TxtoldPwd = ui::lineEdit(panel, "TxtoldPwd", ui::Echo::Password);
    m_TxtNewPwd = ui::lineEdit(panel, "TxtNewPwd", ui::Echo::Password);
    m_TxtVerifyPwd = ui::lineEdit(panel, "TxtVerifyPwd", ui::Echo::Password);
    auto *meter = new StrengthMeter(panel);
    connect(m_TxtNewPwd, &QLineEdit::textChanged, meter, &StrengthMeter::setPassword);
    auto *form = new QFormLayout(panel);
    form->addRow(caption(tr("原始密码:"), "lbloldPwd", m_TxtoldPwd, panel), m_TxtoldPwd);
    form->addRow(caption(tr("新密码:"), "lblNewPwd", m_TxtNewPwd, panel), m_TxtNewPwd);
    form->addRow(caption(tr("确认密码:"), "lblVerifyPwd", m_TxtVerifyPwd, panel), m_TxtVerifyPwd);
    form->addRow(caption(tr("密码强度:"), "lblPassStrength", nullptr, panel), meter);
    auto *tips = new QLabel(tr("提示:请牢记密码.如果密码丢失将不能进入系统."), panel);
    tips->setObjectName(QStringLiteral("lblTips1"));
    form->addRow(tips);
    m_TxtoldPwd->setMinimumWidth(220);
    return panel;
}

QWidget *FrmUser::logoutPanel() {
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("PicUserFunction2"));
    m_TxtLogoutPwd = ui::lineEdit(panel, "TxtLogoutPwd", ui::Echo::Password);
    auto *form = new QFormLayout(panel);
    form->addRow(caption(tr("用户密码:"), "lblLogoutPwd", m_TxtLogoutPwd, panel), m_TxtLogoutPwd);
    auto *tips = new QLabel(tr("注销用户将会清除该用户所有资料!!!"), panel);
    tips->setObjectName(QStringLiteral("lblTips2"));
    tips->setStyleSheet(QStringLiteral("color: #ff0000;"));
    form->addRow(tips);
    m_TxtLogoutPwd->setMinimumWidth(220);
    return panel;
}

void FrmUser::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    QLineEdit *first = m_mode == Mode::EditUser       ? m_TxtNewUser
                       : m_mode == Mode::EditPassword ? m_TxtoldPwd
                                                      : m_TxtLogoutPwd;
    first->setFocus();
}

void FrmUser::warn(const QString &text, QLineEdit *focus) {
    m_services.messages.info(this, text);
    if (focus)
        focus->setFocus();
}

void FrmUser::CmdOK_Click() {
    try {
        switch (m_mode) {
        case Mode::EditUser:
            return editUser();
        case Mode::EditPassword:
            return editPassword();
        case Mode::Logout:
            return logout();
        }
    } catch (const std::exception &error) {
        m_services.messages.show(this, MessageService::Icon::Critical, tr("提示"),
                                 tr("操作失败,数据没有改动.") + QLatin1Char('\n') +
                                     QString::fromUtf8(error.what()),
                                 false);
    }
}

void FrmUser::editUser() {
    const QString name = m_TxtNewUser->text();
    if (name.isEmpty())
        return warn(tr("请输入新用户名!"), m_TxtNewUser);
    UserStore users = m_vault.users();
    // The current name counts as taken too, whatever its letter case.
    if (users.exists(name))
        return warn(tr("用户名已存在,请重新输入!"), m_TxtNewUser);
    users.rename(m_session.userName(), name);
    m_session.setUserName(name);
    m_services.settings.setLastUser(name);
    m_renamed = true;
    m_services.messages.info(this, tr("用户名已经修改,下次登陆时请使用新的用户名!"));
    accept();
}

void FrmUser::editPassword() {
    if (m_TxtoldPwd->text().size() < 6)
        return warn(tr("原始密码长度不能小于6位."), m_TxtoldPwd);
    UserStore users = m_vault.users();
    if (!users.checkPassword(m_session.userName(), m_TxtoldPwd->text()))
        return warn(tr("原始密码错误,请重新输入!"), m_TxtoldPwd);
    if (m_TxtNewPwd->text() != m_TxtVerifyPwd->text()) {
        m_TxtNewPwd->clear();
        m_TxtVerifyPwd->clear();
        return warn(tr("两次输入的密码不一致,请重新输入!"), m_TxtNewPwd);
    }
    if (m_TxtNewPwd->text().size() < 6)
        return warn(tr("新密码长度不能小于6位."), m_TxtNewPwd);
    // The data key is wrapped anew; no record needs to change.
    users.changePassword(m_session, m_TxtNewPwd->text());
    for (QLineEdit *box : {m_TxtoldPwd, m_TxtNewPwd, m_TxtVerifyPwd})
        box->clear();
    m_services.messages.info(this, tr("密码修改成功,请牢记密码!"));
    accept();
}

void FrmUser::logout() {
    if (m_TxtLogoutPwd->text().size() < 6)
        return warn(tr("用户密码长度不能小于6位."), m_TxtLogoutPwd);
    UserStore users = m_vault.users();
    if (!users.checkPassword(m_session.userName(), m_TxtLogoutPwd->text()))
        return warn(tr("用户密码错误,请重新输入!"), m_TxtLogoutPwd);
    if (m_services.messages.show(this, MessageService::Icon::Exclamation, tr("警告"),
                                 tr("用户注销后所有资料都会删除,是否继续?"),
                                 true) != MessageService::Answer::Yes)
        return;
    users.remove(m_session.userName());
    m_services.settings.forgetLastUser();
    m_TxtLogoutPwd->clear();
    m_services.messages.info(this, tr("用户已注销,请重新登录!"));
    m_deleted = true;
    accept();
}
