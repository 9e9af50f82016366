#pragma once

// Finding the controls of a window and driving its modal dialogs, the way the window tests do.

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

namespace testwidgets {

// The child named `name` (its object name); a missing one ends the test program at once, with
// the name, rather than failing later on a null pointer.
template <typename T = QWidget> T *child(const QObject *parent, const QString &name) {
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no %s", qPrintable(name));
    return found;
}
template <typename T = QWidget> T *child(const QObject *parent, const char *name) {
    return child<T>(parent, QString::fromLatin1(name));
}

// Runs `act` on the modal dialog the next command opens (the one named `expected`, when given),
// then rejects that dialog if `act` left it open, so that a failed check never leaves a test
// waiting. seen() tells whether it ran.
class ModalDriver {
public:
    void onNext(std::function<void(QDialog *)> act, QString expected = {}) {
        m_seen = false;
        m_timer = std::make_unique<QTimer>();
        m_timer->setSingleShot(true);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this, act, expected] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || (!expected.isEmpty() && dialog->objectName() != expected))
                return;
            m_seen = true;
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        m_timer->start(0);
    }
    // Whether the last onNext() ran; it is dropped either way.
    bool done() {
        m_timer.reset();
        return m_seen;
    }

private:
    std::unique_ptr<QTimer> m_timer;
    bool m_seen = false;
};

} // namespace testwidgets
