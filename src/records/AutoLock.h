#pragma once

#include <QObject>
#include <QTimer>

// The automatic lock: counts the whole minutes the main window spends minimised and says when
// the count meets the user's setting. The count meets it exactly or not at all, so lowering the
// setting below a count already passed does not lock in this period; 0 minutes never locks.
class AutoLock : public QObject {
    Q_OBJECT
public:
    explicit AutoLock(QObject *parent = nullptr);

    void setMinutes(double minLockTime) { m_minutes = minLockTime; }
    double minutes() const { return m_minutes; }
    // The window went to the tray: counting starts from nought.
    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }
    int interval() const { return m_timer.interval(); }
    long count() const { return m_count; }

    // One minute has passed; the timer calls it, and tests do.
    void tick();

signals:
    void lockDue();

private:
    QTimer m_timer;
    double m_minutes = 0;
    long m_count = 0;
};
