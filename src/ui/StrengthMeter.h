#pragma once

#include <QWidget>

class QLabel;
class QFrame;

// The strength word (lblStrength) and the coloured shape (ShapePass) shown beside a password
// box. Starts as "弱" on red; level 0 leaves both as they are.
class StrengthMeter : public QWidget {
    Q_OBJECT
public:
    explicit StrengthMeter(QWidget *parent = nullptr);

    void setPassword(const QString &text);
    QString word() const;
    QColor colour() const;

private:
    QLabel *m_lblStrength;
    QFrame *m_ShapePass;
};
