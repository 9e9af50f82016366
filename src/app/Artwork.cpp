#include "app/Artwork.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace artwork {

namespace {

// A rounded light-blue tile with a white keyhole.
void paintMark(QPainter &painter, const QRectF &box) {
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, QColor(96, 160, 224));
    fill.setColorAt(1, QColor(38, 104, 180));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    const qreal radius = box.width() * 0.22;
    painter.drawRoundedRect(box, radius, radius);
    painter.setBrush(Qt::white);
    const qreal r = box.width() * 0.16;
    const QPointF centre(box.center().x(), box.top() + box.height() * 0.40);
    painter.drawEllipse(centre, r, r);
    QPainterPath stem;
    stem.moveTo(centre.x() - r * 0.55, centre.y());
    stem.lineTo(centre.x() + r * 0.55, centre.y());
    stem.lineTo(centre.x() + r * 0.9, box.top() + box.height() * 0.78);
    stem.lineTo(centre.x() - r * 0.9, box.top() + box.height() * 0.78);
    stem.closeSubpath();
    painter.drawPath(stem);
}

QPixmap mark(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintMark(painter, QRectF(0.5, 0.5, side - 1.0, side - 1.0));
    return pixmap;
}

} // namespace

QIcon appIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(mark(side));
    return icon;
}

QPixmap logo(const QSize &size) {
    QPixmap pixmap(size);
    pixmap.fill(QColor(232, 242, 252));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = size.height() * 0.72;
    const qreal margin = (size.height() - side) / 2;
    paintMark(painter, QRectF(margin, margin, side, side));
    QFont font = painter.font();
    font.setPixelSize(int(size.height() * 0.36));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(38, 104, 180));
    painter.drawText(QRectF(margin * 2 + side, 0, size.width() - side - margin * 3, size.height()),
                     Qt::AlignVCenter | Qt::AlignLeft,
                     QCoreApplication::translate("artwork", "Ombrivo 密码管理"));
    return pixmap;
}

} // namespace artwork
