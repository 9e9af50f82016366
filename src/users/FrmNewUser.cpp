#include "users/FrmNewUser.h"

#include "core/Clock.h"
#include "core/MessageService.h"
#include "skin/MSkinner.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"
#include "ui/StrengthMeter.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel *label(const QString &text, const char *name, QWidget *parent) {
    auto *result = new QLabel(text, parent);
    result->setObjectName(QString::fromLatin1(name));
    return result;
}

} // namespace

FrmNewUser::FrmNewUser(Vault &vault, const Services &services, QWidget *parent)
    : QDialog(parent), m_vault(vault), m_services(services) {
    setObjectName(QStringLiteral("FrmNewUser"));
    setWindowTitle(tr("注册新用户"));
    setWindowIcon(artwork::appIcon());
    setModal(true);

    m_PicOther = new QFrame(this);
    m_PicOther->setObjectName(QStringLiteral("PicOther"));
    QLabel *lblUser = label(tr("用户名:"), "lblUser", m_PicOther);
    m_TxtUser = ui::lineEdit(m_PicOther, "TxtUser");
    QLabel *lblPass = label(tr("密码:"), "lblPass", m_PicOther);
    m_TxtPass = ui::lineEdit(m_PicOther, "TxtPass", ui::Echo::Password);
    QLabel *lblVerifyPass = label(tr("确认密码:"), "lblVerifyPass", m_PicOther);
    m_TxtVerifyPass = ui::lineEdit(m_PicOther, "TxtVerifyPass", ui::Echo::Password);
    QLabel *lblPassStrength = label(tr("密码强度:"), "lblPassStrength", m_PicOther);
    m_meter = new StrengthMeter(m_PicOther);
    QLabel *lblTip = label(tr("提示:请牢记密码.如果密码丢失将不能进入系统."), "lblTip", m_PicOther);
    lblTip->setWordWrap(true);
    lblUser->setBuddy(m_TxtUser);
    lblPass->setBuddy(m_TxtPass);
    lblVerifyPass->setBuddy(m_TxtVerifyPass);

    auto *fields = new QGridLayout(m_PicOther);
    fields->addWidget(lblUser, 0, 0);
    fields->addWidget(m_TxtUser, 0, 1);
    fields->addWidget(lblPass, 1, 0);
    fields->addWidget(m_TxtPass, 1, 1);
    fields->addWidget(lblVerifyPass, 2, 0);
    fields->addWidget(m_TxtVerifyPass, 2, 1);
    fields->addWidget(lblPassStrength, 3, 0);
    fields->addWidget(m_meter, 3, 1, Qt::AlignLeft);
    fields->addWidget(lblTip, 4, 0, 1, 2);
    fields->setColumnStretch(1, 1);

    m_CmdOK = ui::button(this, tr("确定(&O)"), "CmdOK", true);
    m_CmdCancel = ui::button(this, tr("取消(&C)"), "CmdCancel");
    auto *buttons = ui::buttonRow({m_CmdOK, m_CmdCancel});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_PicOther);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_TxtUser->setMinimumWidth(220);

    setTabOrder(m_TxtUser, m_TxtPass);
    setTabOrder(m_TxtPass, m_TxtVerifyPass);
    setTabOrder(m_TxtVerifyPass, m_CmdOK);
    setTabOrder(m_CmdOK, m_CmdCancel);

    connect(m_TxtPass, &QLineEdit::textChanged, m_meter, &StrengthMeter::setPassword);
    connect(m_CmdOK, &QPushButton::clicked, this, &FrmNewUser::CmdOK_Click);
    connect(m_CmdCancel, &QPushButton::clicked, this, &FrmNewUser::CmdCancel_Click);
    SkinWindow(this);
}

void FrmNewUser::CmdOK_Click() {
    MessageService &messages = m_services.messages;
    const QString name = m_TxtUser->text();
    if (name.trimmed().isEmpty()) {
        messages.info(this, tr("请输入用户名!"));
        return;
    }
    if (m_TxtPass->text() != m_TxtVerifyPass->text()) {
        messages.info(this, tr("两次输入的密码不一致,请重新输入!"));
        m_TxtPass->clear();
        m_TxtVerifyPass->clear();
        m_TxtPass->setFocus();
        return;
    }
    if (m_TxtPass->text().size() < 6) {
        messages.info(this, tr("密码长度不能小于6位."));
        return;
    }
    try {
        UserStore users = m_vault.users();
        if (users.exists(name)) {
            messages.info(this, tr("该用户已存在.请重新输入!"));
            m_TxtUser->clear();
            m_TxtUser->setFocus();
            return;
        }
        users.registerUser(name, m_TxtPass->text(), m_services.clock.today(), m_services.appPath);
    } catch (const std::exception &error) {
        messages.show(this, MessageService::Icon::Critical, tr("提示"),
                      tr("注册失败,数据没有保存.") + QLatin1Char('\n') +
                          QString::fromUtf8(error.what()),
                      false);
        return;
    }
    m_NewUserName = name;
    m_TxtPass->clear();
    m_TxtVerifyPass->clear();
    messages.info(this, tr("注册成功,请登录!"));
    accept();
}

void FrmNewUser::CmdCancel_Click() {
    reject();
}
