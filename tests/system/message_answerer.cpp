// Preloaded (LD_PRELOAD) into the real executable by the process tests. On the offscreen
// platform nobody could press a message box's button, and the program would wait for ever. The
// message service runs its box with QDialog::exec(), which this library takes over: a message box
// is answered at once with its default button, as Enter would, and what it said is appended to
// the file OMBRIVO_TEST_MESSAGES names, one JSON object a line with the icon
// (QMessageBox::Icon), the title and the text. Any other dialog runs as usual.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QPushButton>

#include <dlfcn.h>

int QDialog::exec() {
    auto *box = qobject_cast<QMessageBox *>(this);
    if (!box) {
        using Exec = int (*)(QDialog *);
        static const auto real = reinterpret_cast<Exec>(dlsym(RTLD_NEXT, "_ZN7QDialog4execEv"));
        return real ? real(this) : int(QDialog::Rejected);
    }
    QFile log(qEnvironmentVariable("OMBRIVO_TEST_MESSAGES"));
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const QJsonObject shown{{QStringLiteral("icon"), int(box->icon())},
                                {QStringLiteral("title"), box->windowTitle()},
                                {QStringLiteral("text"), box->text()}};
        log.write(QJsonDocument(shown).toJson(QJsonDocument::Compact) + '\n');
    }
    QPushButton *chosen = box->defaultButton();
    return chosen ? int(box->standardButton(chosen)) : int(QMessageBox::Ok);
}
