#pragma once

#include "core/FileDialogs.h"

class QtFileDialogs : public FileDialogs {
public:
    QString ShowOpenDialog(QObject *owner, const QString &filter, const QString &initialFolder,
                           const QString &title) override;
    QString ShowSaveDialog(QObject *owner, const QString &filter, const QString &initialFolder,
                           const QString &defaultName, const QString &title) override;
};
