#include "ui/AfterDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace ui {

namespace {

QList<QDialog *> openDialogs() {
    QList<QDialog *> dialogs;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(window);
        if (dialog && dialog->isVisible() && dialog->isModal())
            dialogs << dialog;
    }
    return dialogs;
}

int loopLevel() {
    return QThread::currentThread()->loopLevel();
}

// A dialog's loop can still be on the stack after the dialog has hidden: the code after its
// exec() runs only once that loop has returned. So wait for the loop level the request came in
// at, less one for each dialog that was open then.
void runWhenBack(QPointer<QObject> context, int level, std::function<void()> next) {
    QTimer::singleShot(0, context, [context, level, next = std::move(next)]() mutable {
        if (loopLevel() > level || !openDialogs().isEmpty()) {
            for (QDialog *dialog : openDialogs())
                dialog->reject();
            runWhenBack(context, level, std::move(next));
            return;
        }
        next();
    });
}

} // namespace

bool dialogOpen() {
    return !openDialogs().isEmpty();
}

void afterDialogs(QObject *context, std::function<void()> next) {
    const QList<QDialog *> dialogs = openDialogs();
    if (dialogs.isEmpty()) {
        next();
        return;
    }
    const int level = qMax(0, loopLevel() - int(dialogs.size()));
    for (QDialog *dialog : dialogs)
        dialog->reject();
    runWhenBack(context, level, std::move(next));
}

} // namespace ui
