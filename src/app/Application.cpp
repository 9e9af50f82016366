#include "app/Application.h"

#include "core/Clipboard.h"
#include "core/InstanceLock.h"
#include "core/MessageService.h"
#include "maintenance/Restore.h"
#include "records/FrmMain.h"
#include "storage/DataFile.h"
#include "storage/Vault.h"
#include "users/FrmLogin.h"
#include "users/Session.h"

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
    if (!m_finished && m_vault)
        shutdown(m_exitCode);
}

QString Application::dataFilePath() const {
    return m_services.appPath + QLatin1Char('/') + QLatin1String(datafile::kFileName);
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

    m_lock.emplace(m_services.appPath + QStringLiteral("/SystemData.lock"));
    const instancelock::Result locked = m_lock->take();
    if (locked != instancelock::Result::Taken) {
        const bool running = locked == instancelock::Result::Held;
        m_lock.reset();
        if (running) {
            m_services.messages.info(nullptr, tr("程序已运行!"));
            m_exitCode = 0;
            m_finished = true;
        } else {
            fail(tr("数据文件夹 %1 无法写入,程序不能运行.").arg(m_services.appPath), 1);
        }
        return false;
    }

    // A restore that a crash interrupted leaves its private copy behind.
    BackupFile::removeLeftovers(m_services.appPath);
    try {
        m_vault = datafile::open(dataFilePath(), scrambledTemplate());
    } catch (const std::exception &error) {
        m_lock.reset();
        fail(tr("数据文件 %1 无法打开,程序不能运行.文件未作任何改动.")
                     .arg(QDir::toNativeSeparators(dataFilePath())) +
                 QLatin1Char('\n') + QString::fromUtf8(error.what()),
             1);
        return false;
    }
    if (m_kdf)
        m_vault->setKdfParams(*m_kdf);

    m_login = new FrmLogin(*m_vault, m_services);
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
    m_main = new FrmMain(*m_vault, m_session, m_services);
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    connect(
        m_main, &FrmMain::unloaded, this, [this] { shutdown(0); }, Qt::QueuedConnection);
    m_main->show();
}

void Application::quit() {
    // A dialog of the main window still running would be deleted under its own loop.
    if (m_main && m_main->isModalOpen()) {
        m_main->whenNoModal([this] { shutdown(0); });
        return;
    }
    shutdown(0);
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
    if (m_vault) {
        m_vault->close();
        m_vault.reset();
        try {
            datafile::scramble(dataFilePath());
        } catch (const std::exception &error) {
            // The file stays unscrambled but whole; the next start uses it as it is.
            m_services.messages.show(nullptr, MessageService::Icon::Exclamation, tr("提示"),
                                     tr("数据文件无法加密保存.") + QLatin1Char('\n') +
                                         QString::fromUtf8(error.what()),
                                     false);
            m_exitCode = 1;
        }
    }
    if (clearClipboard)
        m_services.clipboard.clear();
    m_lock.reset();
    emit finished(m_exitCode);
}
