#include "users/FrmLogin.h"

#include "core/MessageService.h"
#include "core/SettingsStore.h"
#include "skin/MSkinner.h"
#include "ui/Artwork.h"
#include "ui/DialogButtons.h"
#include "ui/Form1.h"
#include "users/FrmNewUser.h"
#include "users/UserStore.h"
#include "vault/Vault.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FrmLogin::FrmLogin(Vault &vault, const Services &services, QWidget *parent)
    : QDialog(parent), m_vault(vault), m_services(services) {
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowTitle(tr("登录"));
    setWindowIcon(artwork::appIcon());

    m_PicLogo = new QLabel(this);
    m_PicLogo->setObjectName(QStringLiteral("PicLogo"));
    m_PicLogo->setPixmap(artwork::logo(QSize(360, 72)));
    m_PicLogo->setCursor(Qt::PointingHandCursor);
    m_PicLogo->installEventFilter(this);

    m_PicOther = new QFrame(this);
    m_PicOther->setObjectName(QStringLiteral("PicOther"));
    m_lblUser = new QLabel(tr("用户名:"), m_PicOther);
    m_lblUser->setObjectName(QStringLiteral("lblUser"));
    m_CbUser = new QComboBox(m_PicOther);
    m_CbUser->setObjectName(QStringLiteral("CbUser"));
    m_CbUser->setEditable(false);
    m_lblPass = new QLabel(tr("密  码:"), m_PicOther);
    m_lblPass->setObjectName(QStringLiteral("lblPass"));
    m_TxtPass = ui::lineEdit(m_PicOther, "TxtPass", ui::Echo::Password);
    m_lblUser->setBuddy(m_CbUser);
    m_lblPass->setBuddy(m_TxtPass);

    auto *fields = new QGridLayout(m_PicOther);
    fields->addWidget(m_lblUser, 0, 0);
    fields->addWidget(m_CbUser, 0, 1);
    fields->addWidget(m_lblPass, 1, 0);
    fields->addWidget(m_TxtPass, 1, 1);
    fields->setColumnStretch(1, 1);

    m_CmdLogin = ui::button(this, tr("登录(&O)"), "CmdLogin", true);
    m_CmdRegNewUser = ui::button(this, tr("注册新用户(&N)"), "CmdRegNewUser");
    m_CmdCancel = ui::button(this, tr("取消(&C)"), "CmdCancel");

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_CmdLogin);
    buttons->addWidget(m_CmdRegNewUser);
    buttons->addWidget(m_CmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_PicLogo);
    layout->addWidget(m_PicOther);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_CbUser, m_TxtPass);
    setTabOrder(m_TxtPass, m_CmdLogin);
    setTabOrder(m_CmdLogin, m_CmdRegNewUser);
    setTabOrder(m_CmdRegNewUser, m_CmdCancel);

    connect(m_CmdLogin, &QPushButton::clicked, this, &FrmLogin::CmdLogin_Click);
    connect(m_CmdRegNewUser, &QPushButton::clicked, this, &FrmLogin::CmdRegNewUser_Click);
    connect(m_CmdCancel, &QPushButton::clicked, this, &FrmLogin::CmdCancel_Click);
    // Esc, the close box, the cancel button and the third wrong password all end here.
    connect(this, &QDialog::finished, this, [this] {
        if (!m_loggedIn)
            emit closedWithoutLogin();
    });

    SkinWindow(this);
    fillUsers();
    // The remembered user is preselected; a name that no longer exists selects nothing.
    const QString remembered = m_services.settings.lastUser();
    m_CbUser->setCurrentIndex(remembered.isEmpty() ? -1 : m_CbUser->findText(remembered));
}

FrmLogin::~FrmLogin() = default;

void FrmLogin::fillUsers() {
    m_CbUser->clear();
    try {
        m_CbUser->addItems(m_vault.users().names());
    } catch (const std::exception &) {
        // The list stays as far as it was filled; the login then asks for a registration.
    }
    m_CbUser->setCurrentIndex(-1);
}

void FrmLogin::focusPasswordIfUserChosen() {
    if (m_CbUser->currentIndex() >= 0)
        m_TxtPass->setFocus();
}

void FrmLogin::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    focusPasswordIfUserChosen();
}

void FrmLogin::changeEvent(QEvent *event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        focusPasswordIfUserChosen();
    QDialog::changeEvent(event);
}

void FrmLogin::CmdLogin_Click() {
    MessageService &messages = m_services.messages;
    if (m_CbUser->count() == 0) {
        messages.info(this, tr("请注册新用户!"));
        return;
    }
    if (m_CbUser->currentIndex() < 0) {
        messages.info(this, tr("请选择用户!"));
        return;
    }
    if (m_TxtPass->text().isEmpty()) {
        messages.info(this, tr("请输入密码!"));
        m_TxtPass->setFocus();
        return;
    }
    const QString name = m_CbUser->currentText();
    std::optional<Session> session;
    try {
        session = m_vault.users().login(name, m_TxtPass->text());
    } catch (const std::exception &error) {
        messages.show(this, MessageService::Icon::Critical, tr("提示"),
                      tr("用户数据已损坏,无法登录!") + QLatin1Char('\n') +
                          QString::fromUtf8(error.what()),
                      false);
        return;
    }
    if (!session) {
        ++m_LoginFailCount;
        if (m_LoginFailCount >= 3) {
            messages.info(this, tr("登录密码错误次数已超过3次,软件将自动关闭!"));
            reject();
        } else {
            messages.info(this, tr("用户密码错误,请重新输入!"));
            m_TxtPass->setFocus();
        }
        return;
    }
    m_loggedIn = true;
    m_TxtPass->clear();
    m_services.settings.setLastUser(name);
    emit loggedIn(std::make_shared<Session>(std::move(*session)));
    accept();
}

void FrmLogin::CmdRegNewUser_Click() {
    FrmNewUser registration(m_vault, m_services, this);
    registration.exec();
    const QString newUserName = registration.newUserName();
    if (newUserName.isEmpty())
        return;
    fillUsers();
    m_CbUser->setCurrentIndex(m_CbUser->findText(newUserName));
    m_TxtPass->clear();
    m_TxtPass->setFocus();
}

void FrmLogin::CmdCancel_Click() {
    reject();
}

bool FrmLogin::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_PicLogo && event->type() == QEvent::MouseButtonRelease) {
        auto *page = new Form1(this);
        page->show();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
