#include "core/Gradient.h"

#include <QColor>
#include <QPaintDevice>
#include <QPainter>
#include <QRect>

#include <cmath>

namespace {

// Rounds to the nearest integer, halves to even (the default floating-point rounding mode).
int roundEven(double v) {
    return int(std::nearbyint(v));
}

} // namespace

void PaintGradient(QPaintDevice &target) {
    const int width = target.width();
    const int height = target.height();
    const int step = roundEven(double(width) / 50);

    // The factors are single precision on purpose: their tiny excess over 9/50 etc. decides
    // which way the halves of some bands round (band 25's blue is 251, not 250).
    const float redFactor = 42.f / 50;
    const float greenFactor = 24.f / 50;
    const float blueFactor = 9.f / 50;

    QPainter painter(&target);
    for (int i = 0; i <= 50; ++i) {
        const QColor colour(roundEven(213 + i * double(redFactor)),
                            roundEven(231 + i * double(greenFactor)),
                            roundEven(246 + i * double(blueFactor)));
        // Both corners are part of the box, so each band's right column is painted over by the
        // next band; the last band reaches beyond the right edge.
        painter.fillRect(QRect(QPoint(i * step, 0), QPoint((i + 1) * step, height)), colour);
    }
}
