#include "app/Application.h"

#include "core/Clipboard.h"
#include "core/MessageService.h"
#include "records/FrmMain.h"
#include "ui/AfterDialogs.h"
#include "users/FrmLogin.h"
#include "users/Session.h"
#include "vault/DataFolder.h"
#include "vault/Vault.h"

#include <QDir>
#include <QFile>

namespace {
QByteArray scrambledTemplate() {
    QFile file(QStringLiteral(":/SystemData.template"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
} // namespace

Application::Application(const Services &services, QObject *parent)
    : QObject(parent), m_services(services) {}

Application::~Application() {
    // Whatever ended the event loop, the file must not stay unscrambled.
    if (!m_finished && m_folder)
        shutdown(m_exitCode);
}

Vault *Application::vault() const {
    return m_folder ? m_folder->vault() : nullptr;
}

QString Application::dataFilePath() const {
    return DataFolder(m_services.appPath).dataFilePath();
}

void Application::fail(const QString &text, int exitCode) {
    m_services.messages.show(nullptr, MessageService::Icon::Critical, tr("提示"), text, false);
    m_exitCode = exitCode;
    m_finished = true;
}

bool Application::start() {
    try {
        crypto::init();
    } catch (const std::exception &error) {
        fail(tr("加密库无法初始化,程序不能运行.") + QLatin1Char('\n') +
                 QString::fromUtf8(error.what()),
             1);
        return false;
    }

    m_folder = std::make_unique<DataFolder>(m_services.appPath);
    const instancelock::Result locked = m_folder->lock();
    if (locked != instancelock::Result::Taken) {
        const bool running = locked == instancelock::Result::Held;
        m_folder.reset();
        if (running) {
            m_services.messages.info(nullptr, tr("程序已运行!"));
            m_exitCode = 0;
            m_finished = true;
        } else {
            fail(tr("数据文件夹 %1 无法写入,程序不能运行.").arg(m_services.appPath), 1);
        }
        return false;
    }

    Vault *vault = nullptr;
    try {
        vault = &m_folder->open(scrambledTemplate());
    } catch (const std::exception &error) {
        m_folder.reset();
        fail(tr("数据文件 %1 无法打开,程序不能运行.文件未作任何改动.")
                     .arg(QDir::toNativeSeparators(dataFilePath())) +
                 QLatin1Char('\n') + QString::fromUtf8(error.what()),
             1);
        return false;
    }
    if (m_kdf)
        vault->setKdfParams(*m_kdf);

    m_login = new FrmLogin(*vault, m_services);
    m_login->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_login, &FrmLogin::loggedIn, this, &Application::showMain);
    connect(
        m_login, &FrmLogin::closedWithoutLogin, this, [this] { shutdown(0); },
        Qt::QueuedConnection);
    m_login->show();
    return true;
}

void Application::showMain(std::shared_ptr<Session> session) {
    m_session = std::move(session);
    m_main = new FrmMain(*m_folder->vault(), m_session, m_services);
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    connect(
        m_main, &FrmMain::unloaded, this, [this] { shutdown(0); }, Qt::QueuedConnection);
    m_main->show();
}

void Application::quit() {
    // A dialog still running (the main window's, the login window's, a message box) would be
    // deleted under its own loop: the dialogs close first.
    if (m_main) {
        m_main->whenNoModal([this] { shutdown(0); });
        return;
    }
    ui::afterDialogs(this, [this] { shutdown(0); });
}

void Application::shutdown(int exitCode) {
    if (m_finished)
        return;
    m_finished = true;
    m_exitCode = exitCode;
    const bool clearClipboard = m_main && m_main->clearClipboardOnExit();
    delete m_main;
    delete m_login;
    m_session.reset(); // wipes the data key
    if (m_folder) {
        try {
            m_folder->stop();
        } catch (const std::exception &error) {
            // The file stays unscrambled but whole; the next start uses it as it is.
            m_services.messages.show(nullptr, MessageService::Icon::Exclamation, tr("提示"),
                                     tr("数据文件无法加密保存.") + QLatin1Char('\n') +
                                         QString::fromUtf8(error.what()),
                                     false);
            m_exitCode = 1;
        }
        m_folder.reset();
    }
    if (clearClipboard)
        m_services.clipboard.clear();
    emit finished(m_exitCode);
}
