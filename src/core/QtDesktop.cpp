#include "core/QtDesktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

void QtClipboard::setText(const QString &text) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
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
