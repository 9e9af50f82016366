#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <optional>

class QPainter;
class QWidget;

// The small drawing toolkit of the skin engine. A "DC" is a QPainter, a memory surface is a
// QImage; colours are written as the COLORREF values &H00BBGGRR the skin was designed in.
namespace skin {

// &H00BBGGRR to an opaque QRgb.
constexpr QRgb bgr(std::uint32_t colorref) {
    return 0xff000000u | ((colorref & 0xffu) << 16) | (colorref & 0xff00u) |
           ((colorref >> 16) & 0xffu);
}

inline const QRgb kBorderEnabled = bgr(0xD5A554);
inline const QRgb kBorderDisabled = bgr(0xE9CFA4);
inline const QRgb kCheckBorderPressed = bgr(0xC48639);
inline const QRgb kProgressFill = bgr(0xF6D64C);
inline const QRgb kCaptionDisabled = bgr(0x968A79);
inline const QRgb kCaption = bgr(0x000000);
inline const QRgb kBackground = bgr(0xFFFFFF);
inline const QRgb kMagenta = bgr(0xFF00FF);

// Text flags with the values of the DrawText flags they stand for.
enum TextFlag : unsigned {
    DtLeft = 0x0,
    DtCenter = 0x1,
    DtVCenter = 0x4,
    DtSingleLine = 0x20,
    DtNoPrefix = 0x800,
    DtEndEllipsis = 0x8000,
};
// Captions and header texts: centred on one line, cut with an ellipsis.
constexpr unsigned kCaptionFlags = DtCenter | DtVCenter | DtSingleLine | DtEndEllipsis;

// Halves of pixel differences are rounded to the nearest integer, halves to even.
int RoundEven(double value);

// A w x h opaque surface; a null image when w or h is not positive. With a device pixel ratio
// the surface holds that many device pixels per logical pixel.
QImage CreateMemDC(int width, int height, qreal devicePixelRatio = 1.0);

void FillRectColor(QPainter &dc, int x, int y, int width, int height, QRgb colour);
// A one-pixel frame on the inside edge of the rectangle.
void FrameRectColor(QPainter &dc, int x, int y, int width, int height, QRgb colour);
// Inverts every other pixel of the rectangle's edge, as a dotted focus rectangle does.
void DrawFocusBox(QPainter &dc, int x, int y, int width, int height);
// The whole text in the rectangle with the pen of dc; an "&" marks the mnemonic unless
// DtNoPrefix is given.
void DrawTextIn(QPainter &dc, const QString &text, int x, int y, int width, int height,
                unsigned flags);

struct WindowSize {
    int left = 0, top = 0, right = 0, bottom = 0, width = 0, height = 0;
};
WindowSize GetWindowSize(const QWidget *window);
QString GetWindowCaption(const QWidget *window);
// Width of the sunken border around the client area (x, y).
QPoint GetBorderOffsets(const QWidget *window);

// Nine-part stretch of the cell (sx, sy, sw, sh) of src onto (x, y, w, h): corners unscaled,
// edges stretched along their length, the centre both ways. With a key, pixels of that
// colour leave the destination unchanged.
void StretchSkinRect(QPainter &dc, int x, int y, int w, int h, const QImage &src, int sx, int sy,
                     int sw, int sh, int left, int top, int right, int bottom,
                     std::optional<QRgb> transparent = std::nullopt);
// Copies (sx, sy, width, height) of src to (x, y) except the pixels equal to the key.
void DrawTransparent(QPainter &dc, int x, int y, int width, int height, const QImage &src, int sx,
                     int sy, QRgb key);

} // namespace skin
