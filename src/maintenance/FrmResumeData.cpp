#include "maintenance/FrmResumeData.h"

#include "core/Clock.h"
#include "core/MessageService.h"
#include "maintenance/Backup.h"
#include "maintenance/Restore.h"
#include "skin/MSkinner.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FrmResumeData::FrmResumeData(BackupFile &backup, Vault &vault, const Session &session,
                             const Services &services, QWidget *parent)
    : QDialog(parent), m_backup(backup), m_vault(vault), m_session(session), m_services(services) {
    setObjectName(QStringLiteral("FrmResumeData"));
    setWindowTitle(tr("恢复数据"));
    setWindowIcon(artwork::appIcon());
    setModal(true);

    m_CbUser = new QComboBox(this);
    m_CbUser->setObjectName(QStringLiteral("CbUser"));
    m_CbUser->addItems(m_backup.users());
    m_CbUser->setCurrentIndex(-1);
    m_TxtPass = ui::lineEdit(this, "TxtPass", ui::Echo::Password);
    m_ChkUserSet = new QCheckBox(tr("保留用户配置"), this);
    m_ChkUserSet->setObjectName(QStringLiteral("ChkUserSet"));
    m_ChkUserSet->setChecked(true);
    auto *lblTips = new QLabel(tr("请选择备份文件中要恢复数据的用户名."), this);
    lblTips->setObjectName(QStringLiteral("lblTips"));

    auto *form = new QFormLayout;
    form->addRow(tr("用户名:"), m_CbUser);
    form->addRow(tr("密  码:"), m_TxtPass);
    form->addRow(m_ChkUserSet);
    m_TxtPass->setMinimumWidth(220);

    auto *CmdResume = ui::button(this, tr("恢复(&R)"), "CmdResume", true);
    auto *CmdCancel = ui::button(this, tr("取消(&C)"), "CmdCancel");
    auto *buttons = ui::buttonRow({CmdResume, CmdCancel});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblTips);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CmdResume, &QPushButton::clicked, this, &FrmResumeData::CmdResume_Click);
    SkinWindow(this);
    connect(CmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmResumeData::CmdResume_Click() {
    MessageService &messages = m_services.messages;
    if (m_CbUser->currentIndex() < 0) {
        messages.info(this, tr("请选择用户!"));
        return;
    }
    if (m_TxtPass->text().isEmpty()) {
        messages.info(this, tr("请输入密码!"));
        m_TxtPass->setFocus();
        return;
    }
    const QString user = m_CbUser->currentText();
    // The password of that user as the backup knows it, not the current login password.
    if (!m_backup.checkPassword(user, m_TxtPass->text())) {
        messages.info(this, tr("用户密码错误,请重新输入!"));
        m_TxtPass->setFocus();
        return;
    }
    if (!messages.ask(this, tr("提示"), tr("恢复数据将会覆盖现有的数据,是否继续?")))
        return;
    const bool replaceSettings = !m_ChkUserSet->isChecked();
    if (replaceSettings && !messages.ask(this, tr("提示"), tr("确定覆盖用户配置吗?")))
        return;
    // A wrong restore can itself be undone from this copy; without it, no restore.
    QString why;
    if (BackupBeforeRestore(m_vault, m_services.clock.today(), &why).isEmpty()) {
        messages.show(this, MessageService::Icon::Exclamation, tr("提示"),
                      tr("恢复前无法备份现有的数据,现有数据没有改动.") + QLatin1Char('\n') + why,
                      false);
        return;
    }
    try {
        m_backup.restoreInto(m_vault, m_session, user, m_TxtPass->text(), replaceSettings);
    } catch (const std::exception &error) {
        messages.show(this, MessageService::Icon::Critical, tr("提示"),
                      tr("数据恢复失败,现有数据没有改动.") + QLatin1Char('\n') +
                          QString::fromUtf8(error.what()),
                      false);
        return;
    }
    m_TxtPass->clear();
    m_restored = true;
    messages.info(this, tr("数据恢复成功!"));
    accept();
}
