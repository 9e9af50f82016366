#pragma once

#include "settings/ShortcutText.h"

#include <QLineEdit>

// A read-only box that captures a key combination as a shortcut text.
class ShortcutBox : public QLineEdit {
    Q_OBJECT
public:
    ShortcutBox(bool bossKey, QWidget *parent = nullptr);

    void load(const QString &stored);
    // The shortcut text to store (the box's Tag).
    QString tag() const { return m_capture.tag(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;

private:
    ShortcutCapture m_capture;
};
