#include "settings/Autorun.h"

#include "storage/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
#ifdef Q_OS_WIN
const QString kRunKey = QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

bool setRunValue(const QString &root, const QString &name, const QString *value) {
    QSettings run(root + kRunKey, QSettings::NativeFormat);
    if (value)
        run.setValue(name, *value);
    else
        run.remove(name);
    run.sync();
    return run.status() == QSettings::NoError;
}
#endif
} // namespace

Autorun::Autorun(QString autostartFolder) : m_folder(std::move(autostartFolder)) {
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                   QStringLiteral("/autostart");
}

QString Autorun::entryPath() const {
    return m_folder + QStringLiteral("/ombrivo.desktop");
}

bool Autorun::isSet() const {
    return QFileInfo::exists(entryPath());
}

bool Autorun::set(bool enabled, const QString &executable) {
#ifdef Q_OS_WIN
    const QString name = QFileInfo(executable).completeBaseName();
    const QString command = QDir::toNativeSeparators(executable);
    const QString *value = enabled ? &command : nullptr;
    // The machine's Run key needs administrator rights; the user's serves otherwise.
    return setRunValue(QStringLiteral("HKEY_LOCAL_MACHINE"), name, value) ||
           setRunValue(QStringLiteral("HKEY_CURRENT_USER"), name, value);
#else
    if (!enabled)
        return !isSet() || QFile::remove(entryPath());
    if (!QDir().mkpath(m_folder))
        return false;
    QString quoted = executable;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Ombrivo\n"
                                         "Name[zh_CN]=Ombrivo 密码管理器\n"
                                         "Exec=\"%1\"\n"
                                         "Icon=ombrivo\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(quoted);
    try {
        atomicfile::write(entryPath(), entry.toUtf8());
        return true;
    } catch (const std::exception &) {
        return false;
    }
#endif
}
