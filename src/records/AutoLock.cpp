#include "records/AutoLock.h"

AutoLock::AutoLock(QObject *parent) : QObject(parent) {
    m_timer.setObjectName(QStringLiteral("TimerAutoLock"));
    m_timer.setInterval(60000);
    connect(&m_timer, &QTimer::timeout, this, &AutoLock::tick);
}

void AutoLock::start() {
    m_count = 0;
    m_timer.start();
}

void AutoLock::stop() {
    m_timer.stop();
}

void AutoLock::tick() {
    if (!m_timer.isActive())
        return;
    ++m_count;
    if (m_count != 0 && m_minutes == double(m_count)) {
        m_timer.stop();
        emit lockDue();
    }
}
