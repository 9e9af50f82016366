#include "ui/QtDesktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

void QtClipboard::setText(const QString &text) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void QtClipboard::setSecretText(const QString &text) {
    auto *data = new QMimeData;
    data->setText(text);
    // The hint KDE's and other clipboard managers honour: do not record this entry.
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
#ifdef Q_OS_WIN
    // The Windows clipboard history and cloud clipboard skip entries with these formats.
    data->setData(QStringLiteral("ExcludeClipboardContentFromMonitorProcessing"), QByteArray(4, 0));
    data->setData(QStringLiteral("CanIncludeInClipboardHistory"), QByteArray(4, 0));
    data->setData(QStringLiteral("CanUploadToCloudClipboard"), QByteArray(4, 0));
#endif
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(data);
}

QString QtClipboard::text() const {
    return QGuiApplication::clipboard()->text();
}

void QtClipboard::clear() {
    QGuiApplication::clipboard()->clear();
}

bool QtDesktop::open(const QString &target) {
    // A stored address is used as it is: a file path opens as a file, anything else as a URL.
    const QUrl url =
        QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    return url.isValid() && QDesktopServices::openUrl(url);
}
