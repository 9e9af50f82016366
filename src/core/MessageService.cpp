#include "core/MessageService.h"

#include <QCoreApplication>

void MessageService::info(QObject *parent, const QString &text) {
    show(parent, Icon::Information, QCoreApplication::translate("MessageService", "提示"), text,
         false);
}

bool MessageService::ask(QObject *parent, const QString &title, const QString &text) {
    return show(parent, Icon::Question, title, text, true) == Answer::Yes;
}
