#pragma once

#include <QString>
#include <QStringList>

class QObject;

// Asking the user for a file name. `filter` alternates descriptions and patterns separated by
// "|", for example "备份文件(dat)|*.dat". Each call returns the full path chosen, or the empty
// text when the user cancels. Tests answer through a queue instead of a dialog.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual QString ShowOpenDialog(QObject *owner, const QString &filter,
                                   const QString &initialFolder, const QString &title) = 0;
    virtual QString ShowSaveDialog(QObject *owner, const QString &filter,
                                   const QString &initialFolder, const QString &defaultName,
                                   const QString &title) = 0;

    // "备份文件(dat)|*.dat" → "备份文件(dat) (*.dat)", one filter per description.
    static QStringList qtFilters(const QString &filter);
};
