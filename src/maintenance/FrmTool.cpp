#include "maintenance/FrmTool.h"

#include "core/Clipboard.h"
#include "core/FileDialogs.h"
#include "core/MessageService.h"
#include "maintenance/Backup.h"
#include "maintenance/FrmResumeData.h"
#include "maintenance/Restore.h"
#include "skin/MSkinner.h"
#include "tray/GlobalKeys.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"
#include "users/FrmUser.h"
#include "users/Session.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kFilter = QStringLiteral("备份文件(dat)|*.dat");
}

FrmTool::FrmTool(Vault &vault, Session &session, const Services &services, GlobalKeys *globalKeys,
                 QWidget *parent)
    : QDialog(parent), m_vault(vault), m_session(session), m_services(services),
      m_globalKeys(globalKeys) {
    setObjectName(QStringLiteral("FrmTool"));
    setWindowTitle(tr("工具"));
    setWindowIcon(artwork::appIcon());
    setModal(true);

    const auto button = [this](const QString &text, const char *name, QLayout *into) {
        QPushButton *b = ui::button(this, text, name);
        into->addWidget(b);
        return b;
    };
    auto *PicFrame1 = new QGroupBox(tr("数据维护"), this);
    PicFrame1->setObjectName(QStringLiteral("PicFrame1"));
    auto *data = new QHBoxLayout(PicFrame1);
    QPushButton *CmdBackup = button(tr("备份数据(&B)"), "CmdBackup", data);
    QPushButton *CmdResume = button(tr("恢复数据(&R)"), "CmdResume", data);
    QPushButton *CmdCompress = button(tr("压缩数据(&C)"), "CmdCompress", data);
    // Both this caption and the close button's underline C; Alt+C closes the window rather than
    // moving the focus between the two.
    CmdCompress->setShortcut(QKeySequence());
    auto *PicFrame2 = new QGroupBox(tr("用户维护"), this);
    PicFrame2->setObjectName(QStringLiteral("PicFrame2"));
    auto *user = new QHBoxLayout(PicFrame2);
    QPushButton *CmdEditUserName = button(tr("修改用户名(&U)"), "CmdEditUserName", user);
    QPushButton *CmdEditPassword = button(tr("修改密码(&P)"), "CmdEditPassword", user);
    QPushButton *CmdLogoutUser = button(tr("注销用户(&D)"), "CmdLogoutUser", user);
    auto *row = new QHBoxLayout;
    QPushButton *CmdEmpty = button(tr("清空剪贴板(&E)"), "CmdEmpty", row);
    row->addStretch();
    QPushButton *CmdClose = button(tr("关闭(&C)"), "CmdClose", row);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PicFrame1);
    layout->addWidget(PicFrame2);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CmdBackup, &QPushButton::clicked, this, &FrmTool::CmdBackup_Click);
    connect(CmdResume, &QPushButton::clicked, this, &FrmTool::CmdResume_Click);
    connect(CmdCompress, &QPushButton::clicked, this, &FrmTool::CmdCompress_Click);
    connect(CmdEmpty, &QPushButton::clicked, this, &FrmTool::CmdEmpty_Click);
    connect(CmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(CmdEditUserName, &QPushButton::clicked, this,
            [this] { openUserWindow(int(FrmUser::Mode::EditUser)); });
    connect(CmdEditPassword, &QPushButton::clicked, this,
            [this] { openUserWindow(int(FrmUser::Mode::EditPassword)); });
    connect(CmdLogoutUser, &QPushButton::clicked, this,
            [this] { openUserWindow(int(FrmUser::Mode::Logout)); });
    SkinWindow(this);
}

QString FrmTool::withDatExtension(QString path) const {
    if (path.right(4).toLower() != QLatin1String(".dat"))
        path += QStringLiteral(".dat");
    return path;
}

void FrmTool::CmdBackup_Click() {
    const QString chosen = m_services.fileDialogs.ShowSaveDialog(
        this, kFilter, m_services.appPath, QStringLiteral("SystemDataBackup.dat"),
        tr("保存备份文件"));
    if (chosen.isEmpty())
        return;
    const QString target = withDatExtension(chosen);
    // A manual backup is always compacted. Over the automatic backup's own file it keeps that
    // file's generations too, so it cannot replace the newest good one either.
    UserSettings settings;
    try {
        settings = m_vault.users().settings(m_session.userName());
    } catch (const std::exception &) {
        // No generations without the settings; the backup itself goes on.
    }
    const bool automaticFile = !settings.AutoBackupPath.isEmpty() &&
                               QFileInfo(target).absoluteFilePath() ==
                                   QFileInfo(settings.AutoBackupPath).absoluteFilePath();
    if (automaticFile ? AutomaticBackup(m_vault, target, true, settings.PriorBackupDate)
                      : BackupDatabase(m_vault, target, true))
        m_services.messages.info(this, tr("数据备份成功!"));
    else
        m_services.messages.show(this, MessageService::Icon::Exclamation, tr("提示"),
                                 tr("数据备份失败!"), false);
}

void FrmTool::CmdResume_Click() {
    const QString chosen = m_services.fileDialogs.ShowOpenDialog(this, kFilter, m_services.appPath,
                                                                 tr("请选择备份文件"));
    if (chosen.isEmpty())
        return;
    std::unique_ptr<BackupFile> backup;
    try {
        backup = BackupFile::open(withDatExtension(chosen), m_services.appPath);
    } catch (const std::exception &error) {
        m_services.messages.show(this, MessageService::Icon::Exclamation, tr("提示"),
                                 QString::fromUtf8(error.what()), false);
        return;
    }
    FrmResumeData restore(*backup, m_vault, m_session, m_services, this);
    restore.exec();
    if (restore.restored()) {
        m_restored = true;
        emit dataRestored();
    }
}

void FrmTool::CmdCompress_Click() {
    try {
        m_vault.compact(m_services.appPath + QStringLiteral("/$Temp.tmp"));
    } catch (const std::exception &error) {
        m_services.messages.show(this, MessageService::Icon::Exclamation, tr("提示"),
                                 tr("数据库压缩失败,数据文件没有改动.") + QLatin1Char('\n') +
                                     QString::fromUtf8(error.what()),
                                 false);
        return;
    }
    m_services.messages.info(this, tr("数据库压缩完毕!"));
}

void FrmTool::CmdEmpty_Click() {
    m_services.clipboard.clear();
    // The paste shortcuts have nothing left to type until a record is chosen again.
    if (m_globalKeys)
        m_globalKeys->clearPasteTexts();
    m_services.messages.info(this, tr("剪贴板已清空!"));
}

void FrmTool::openUserWindow(int mode) {
    FrmUser window(m_vault, m_session, m_services, FrmUser::Mode(mode), this);
    window.exec();
    if (window.userRenamed()) {
        m_renamed = true;
        emit userNameChanged();
    }
    if (window.userDeleted()) {
        m_deleted = true;
        accept();
    }
}
