#include "core/AppPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef OMBRIVO_INSTALL_BINDIR
#define OMBRIVO_INSTALL_BINDIR "/usr/bin"
#endif
#ifndef OMBRIVO_INSTALL_DATADIR
#define OMBRIVO_INSTALL_DATADIR "/usr/share/ombrivo"
#endif

namespace {
QString withoutTrailingSeparator(QString path) {
    path = QDir::cleanPath(path);
    // A root such as "C:/" keeps only the drive letter and the colon; "/" stays "/".
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool runsInstalled() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath()) ==
           QDir::cleanPath(QStringLiteral(OMBRIVO_INSTALL_BINDIR));
}
} // namespace

QString dataFolderFor(const QString &homeOverride, const QString &executableDir,
                      const QString &installBinDir, const QString &userDataDir) {
    if (!homeOverride.isEmpty())
        return withoutTrailingSeparator(homeOverride);
    if (!installBinDir.isEmpty() &&
        QDir::cleanPath(executableDir) == QDir::cleanPath(installBinDir))
        return withoutTrailingSeparator(userDataDir);
    return withoutTrailingSeparator(executableDir);
}

QString AppPath() {
    static const QString path = [] {
        const QString folder = dataFolderFor(
            qEnvironmentVariable("OMBRIVO_HOME"), QCoreApplication::applicationDirPath(),
            QStringLiteral(OMBRIVO_INSTALL_BINDIR),
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        QDir().mkpath(folder);
        return folder;
    }();
    return path;
}

QString HelpDocumentPath() {
    const QString folder = runsInstalled() ? QStringLiteral(OMBRIVO_INSTALL_DATADIR)
                                           : QCoreApplication::applicationDirPath();
    return folder + QStringLiteral("/帮助.doc");
}

bool FileExists(const QString &path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}
