#include "users/FrmLoosenLock.h"

#include "core/MessageService.h"
#include "skin/MSkinner.h"
#include "storage/Crypto.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"
#include "users/Session.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FrmLoosenLock::FrmLoosenLock(Vault &vault, Session &session, const Services &services,
                             QWidget *parent)
    : QDialog(parent), m_vault(vault), m_session(session), m_services(services) {
    setObjectName(QStringLiteral("FrmLoosenLock"));
    setWindowTitle(tr("解锁 --- 当前用户:") + m_session.userName());
    setWindowIcon(artwork::appIcon());

    auto *lblTips = new QLabel(tr("Qolani密码管理器已锁定,请输入登录密码解锁!"), this);
    lblTips->setObjectName(QStringLiteral("lblTips"));
    auto *lblPwd = new QLabel(tr("密码:"), this);
    lblPwd->setObjectName(QStringLiteral("lblPwd"));
    m_TxtPwd = ui::lineEdit(this, "TxtPwd", ui::Echo::Password);
    lblPwd->setBuddy(m_TxtPwd);
    auto *CmdUntie = ui::button(this, tr("解锁(&U)"), "CmdUntie", true);
    auto *CmdCancel = ui::button(this, tr("取消(&C)"), "CmdCancel");

    auto *field = new QHBoxLayout;
    field->addWidget(lblPwd);
    field->addWidget(m_TxtPwd, 1);
    auto *buttons = ui::buttonRow({CmdUntie, CmdCancel});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblTips);
    layout->addLayout(field);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CmdUntie, &QPushButton::clicked, this, &FrmLoosenLock::CmdUntie_Click);
    SkinWindow(this);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmLoosenLock::CmdUntie_Click() {
    if (m_TxtPwd->text().size() < 6) {
        m_services.messages.info(this, tr("密码长度不能小于6位."));
        return;
    }
    bool right = false;
    try {
        right = m_vault.users().unlock(m_session, m_TxtPwd->text());
    } catch (const std::exception &) {
        right = false;
    }
    if (!right) {
        m_services.messages.info(this, tr("密码错误,请重新输入!"));
        return;
    }
    m_TxtPwd->clear();
    emit unlocked();
    accept();
}
