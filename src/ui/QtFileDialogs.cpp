#include "ui/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace {
QString run(QObject *owner, QFileDialog::AcceptMode mode, const QString &filter,
            const QString &folder, const QString &name, const QString &title) {
    QFileDialog dialog(qobject_cast<QWidget *>(owner), title, folder);
    dialog.setAcceptMode(mode);
    dialog.setNameFilters(FileDialogs::qtFilters(filter));
    // Like the system dialogs this replaces: no overwrite question, no must-exist test, and
    // no extension added; the callers add ".dat" themselves.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!name.isEmpty())
        dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().first().trimmed());
}
} // namespace

QString QtFileDialogs::ShowOpenDialog(QObject *owner, const QString &filter,
                                      const QString &initialFolder, const QString &title) {
    return run(owner, QFileDialog::AcceptOpen, filter, initialFolder, {}, title);
}

QString QtFileDialogs::ShowSaveDialog(QObject *owner, const QString &filter,
                                      const QString &initialFolder, const QString &defaultName,
                                      const QString &title) {
    return run(owner, QFileDialog::AcceptSave, filter, initialFolder, defaultName, title);
}
