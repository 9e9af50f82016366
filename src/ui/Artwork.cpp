#include "ui/Artwork.h"

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
    return QPixmap::fromImage(markImage(side));
}

} // namespace

QImage markImage(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintMark(painter, QRectF(0.5, 0.5, side - 1.0, side - 1.0));
    return image;
}

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

QIcon categoryIcon(int number) {
    struct Face {
        QColor colour;
        const char16_t *glyph;
    };
    // FTP, blog, chat, forum, web site, bank, mail, game, other; the root; a user's own.
    static const Face faces[] = {
        {QColor(0x3b, 0x82, 0xc4), u"F"},      {QColor(0xe0, 0x8a, 0x1e), u"B"},
        {QColor(0x2e, 0xa0, 0x5a), u"\u804a"}, {QColor(0x7b, 0x5c, 0xc4), u"\u8bba"},
        {QColor(0x1f, 0x9e, 0xb8), u"W"},      {QColor(0xc8, 0x3c, 0x3c), u"\uffe5"},
        {QColor(0x4a, 0x6f, 0xd8), u"@"},      {QColor(0xd0, 0x5a, 0xa8), u"G"},
        {QColor(0x80, 0x80, 0x80), u"\u2026"}, {QColor(0x26, 0x68, 0xb4), u"\u2261"},
        {QColor(0x5a, 0x9b, 0xd5), u"+"},
    };
    const Face &face = faces[(number >= 1 && number <= 11 ? number : 11) - 1];
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(face.colour);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3.5, 3.5);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::fromUtf16(face.glyph));
    return QIcon(pixmap);
}

} // namespace artwork
