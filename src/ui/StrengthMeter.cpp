#include "ui/StrengthMeter.h"

#include "core/PasswordStrength.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>

namespace {

void setFill(QFrame *shape, const QColor &colour) {
    QPalette pal = shape->palette();
    pal.setColor(QPalette::Window, colour);
    shape->setPalette(pal);
}

} // namespace

StrengthMeter::StrengthMeter(QWidget *parent)
    : QWidget(parent), m_lblStrength(new QLabel(this)), m_ShapePass(new QFrame(this)) {
    m_lblStrength->setObjectName(QStringLiteral("lblStrength"));
    m_ShapePass->setObjectName(QStringLiteral("ShapePass"));

    m_ShapePass->setFixedSize(60, 12);
    m_ShapePass->setFrameShape(QFrame::NoFrame);
    m_ShapePass->setAutoFillBackground(true);

    // The state before the first rating: weak on red.
    m_lblStrength->setText(tr("弱"));
    setFill(m_ShapePass, QColor(255, 0, 0));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_ShapePass);
    layout->addWidget(m_lblStrength);
    layout->addStretch();
}

void StrengthMeter::setPassword(const QString &text) {
    switch (GetPasswordStrength(text)) {
    case 1:
        m_lblStrength->setText(tr("弱"));
        setFill(m_ShapePass, QColor(255, 0, 0));
        break;
    case 2:
        m_lblStrength->setText(tr("中"));
        setFill(m_ShapePass, QColor(255, 255, 0));
        break;
    case 3:
        m_lblStrength->setText(tr("强"));
        setFill(m_ShapePass, QColor(0, 255, 0));
        break;
    default:
        // Level 0 gives no rating; the meter keeps what it showed.
        break;
    }
}

QString StrengthMeter::word() const {
    return m_lblStrength->text();
}

QColor StrengthMeter::colour() const {
    return m_ShapePass->palette().color(QPalette::Window);
}
