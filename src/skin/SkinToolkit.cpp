#include "skin/SkinToolkit.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QStyle>
#include <QWidget>
#include <cmath>

namespace skin {

int RoundEven(double value) {
    // nearbyint rounds halves to even in the default rounding mode
    return static_cast<int>(std::nearbyint(value));
}

QImage CreateMemDC(int width, int height, qreal devicePixelRatio) {
    if (width <= 0 || height <= 0)
        return {};
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage surface(static_cast<int>(std::ceil(width * ratio)),
                   static_cast<int>(std::ceil(height * ratio)), QImage::Format_RGB32);
    if (surface.isNull())
        return {};
    surface.setDevicePixelRatio(ratio);
    surface.fill(Qt::black);
    return surface;
}

void FillRectColor(QPainter &dc, int x, int y, int width, int height, QRgb colour) {
    if (width <= 0 || height <= 0)
        return;
    dc.fillRect(QRect(x, y, width, height), QColor::fromRgb(colour));
}

void FrameRectColor(QPainter &dc, int x, int y, int width, int height, QRgb colour) {
    if (width <= 0 || height <= 0)
        return;
    const QColor c = QColor::fromRgb(colour);
    dc.fillRect(QRect(x, y, width, 1), c);
    dc.fillRect(QRect(x, y + height - 1, width, 1), c);
    dc.fillRect(QRect(x, y, 1, height), c);
    dc.fillRect(QRect(x + width - 1, y, 1, height), c);
}

void DrawFocusBox(QPainter &dc, int x, int y, int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    dc.save();
    dc.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor invert(Qt::white);
    auto dot = [&](int px, int py) {
        if ((px - x + py - y) % 2 == 0)
            dc.fillRect(QRect(px, py, 1, 1), invert);
    };
    for (int px = x; px < x + width; ++px) {
        dot(px, y);
        if (height > 1)
            dot(px, y + height - 1);
    }
    for (int py = y + 1; py < y + height - 1; ++py) {
        dot(x, py);
        if (width > 1)
            dot(x + width - 1, py);
    }
    dc.restore();
}

void DrawTextIn(QPainter &dc, const QString &text, int x, int y, int width, int height,
                unsigned flags) {
    if (text.isEmpty() || width <= 0 || height <= 0)
        return;
    int qtFlags = (flags & DtCenter) ? Qt::AlignHCenter : Qt::AlignLeft;
    if (flags & DtSingleLine) {
        qtFlags |= Qt::TextSingleLine;
        qtFlags |= (flags & DtVCenter) ? Qt::AlignVCenter : Qt::AlignTop;
    } else {
        qtFlags |= Qt::AlignTop | Qt::TextWordWrap;
    }
    const int mnemonic = (flags & DtNoPrefix) ? 0 : int(Qt::TextShowMnemonic);
    qtFlags |= mnemonic;
    QString shown = text;
    if (flags & DtEndEllipsis)
        shown = dc.fontMetrics().elidedText(text, Qt::ElideRight, width, mnemonic);
    dc.drawText(QRect(x, y, width, height), qtFlags, shown);
}

WindowSize GetWindowSize(const QWidget *window) {
    WindowSize size;
    if (!window)
        return size;
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    size.left = origin.x();
    size.top = origin.y();
    size.width = window->width();
    size.height = window->height();
    size.right = size.left + size.width;
    size.bottom = size.top + size.height;
    return size;
}

QString GetWindowCaption(const QWidget *window) {
    if (auto *button = qobject_cast<const QAbstractButton *>(window))
        return button->text();
    if (auto *combo = qobject_cast<const QComboBox *>(window))
        return combo->currentText();
    return window ? window->windowTitle() : QString();
}

QPoint GetBorderOffsets(const QWidget *window) {
    int border = 0;
    if (auto *frame = qobject_cast<const QFrame *>(window)) {
        border = frame->frameWidth();
    } else if (auto *edit = qobject_cast<const QLineEdit *>(window)) {
        if (edit->hasFrame())
            border = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) + 1;
    } else if (auto *spin = qobject_cast<const QAbstractSpinBox *>(window)) {
        if (spin->hasFrame())
            border = spin->style()->pixelMetric(QStyle::PM_SpinBoxFrameWidth, nullptr, spin) + 1;
    } else if (qobject_cast<const QProgressBar *>(window)) {
        border = 2; // the sunken edge of the bar: a line and a white gap
    }
    return {border, border};
}

void StretchSkinRect(QPainter &dc, int x, int y, int w, int h, const QImage &src, int sx, int sy,
                     int sw, int sh, int left, int top, int right, int bottom,
                     std::optional<QRgb> transparent) {
    if (w == 0 || h == 0 || sw == 0 || sh == 0 || src.isNull())
        return;
    QImage composed = CreateMemDC(w, h);
    if (composed.isNull())
        return;
    {
        QPainter p(&composed);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        auto blit = [&](int dx, int dy, int dw, int dh, int fx, int fy, int fw, int fh) {
            if (dw <= 0 || dh <= 0 || fw <= 0 || fh <= 0)
                return;
            p.drawImage(QRect(dx, dy, dw, dh), src, QRect(fx, fy, fw, fh));
        };
        if (left <= 0 && top <= 0 && right <= 0 && bottom <= 0) {
            blit(0, 0, w, h, sx, sy, sw, sh);
        } else {
            blit(0, 0, left, top, sx, sy, left, top);
            blit(w - right, 0, right, top, sx + sw - right, sy, right, top);
            blit(0, h - bottom, left, bottom, sx, sy + sh - bottom, left, bottom);
            blit(w - right, h - bottom, right, bottom, sx + sw - right, sy + sh - bottom, right,
                 bottom);
            const int innerH = h - top - bottom, srcInnerH = sh - top - bottom;
            const int innerW = w - left - right, srcInnerW = sw - left - right;
            blit(0, top, left, innerH, sx, sy + top, left, srcInnerH);
            blit(w - right, top, right, innerH, sx + sw - right, sy + top, right, srcInnerH);
            blit(left, 0, innerW, top, sx + left, sy, srcInnerW, top);
            blit(left, h - bottom, innerW, bottom, sx + left, sy + sh - bottom, srcInnerW, bottom);
            blit(left, top, innerW, innerH, sx + left, sy + top, srcInnerW, srcInnerH);
        }
    }
    if (transparent)
        DrawTransparent(dc, x, y, w, h, composed, 0, 0, *transparent);
    else
        dc.drawImage(QRect(x, y, w, h), composed);
}

void DrawTransparent(QPainter &dc, int x, int y, int width, int height, const QImage &src, int sx,
                     int sy, QRgb key) {
    if (width <= 0 || height <= 0 || src.isNull())
        return;
    QImage part = src.copy(sx, sy, width, height).convertToFormat(QImage::Format_ARGB32);
    const QRgb rgbKey = key & 0x00ffffffu;
    for (int row = 0; row < part.height(); ++row) {
        auto *line = reinterpret_cast<QRgb *>(part.scanLine(row));
        for (int col = 0; col < part.width(); ++col)
            if ((line[col] & 0x00ffffffu) == rgbKey)
                line[col] = 0;
    }
    dc.drawImage(QRect(x, y, width, height), part);
}

} // namespace skin
