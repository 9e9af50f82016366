#include "skin/SkinPaint.h"

#include "skin/SkinToolkit.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <algorithm>

namespace skin {

const char *const kStateImage[4] = {"HDC0", "HDC1", "HDC2", "HDC3"};

namespace {

QImage ImageProp(const QWidget *widget, const char *name) {
    return widget->property(name).value<QImage>();
}

} // namespace

Kind KindOf(const QWidget *w) {
    if (!w)
        return Kind::Other;
    if (qobject_cast<const QPushButton *>(w))
        return Kind::PushButton;
    if (qobject_cast<const QComboBox *>(w))
        return Kind::ComboBox;
    if (qobject_cast<const QCheckBox *>(w))
        return Kind::CheckBox;
    if (qobject_cast<const QRadioButton *>(w))
        return Kind::OptionButton;
    if (qobject_cast<const QProgressBar *>(w))
        return Kind::ProgressBar;
    if (qobject_cast<const QHeaderView *>(w))
        return Kind::Header;
    QWidget *parent = w->parentWidget();
    if (auto *header = qobject_cast<const QHeaderView *>(parent); header && header->viewport() == w)
        return Kind::HeaderViewport;
    // the drop-down list of a combo box is a pop-up window owned by the combo box
    if (w->isWindow() && qobject_cast<const QComboBox *>(parent))
        return Kind::List;
    if (qobject_cast<const QListView *>(w))
        return Kind::List;
    if (qobject_cast<const QTableView *>(w))
        return Kind::Grid;
    if (w->isWindow()) {
        const Qt::WindowType type = w->windowType();
        if (type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen)
            return Kind::Form;
    }
    if (qobject_cast<const QFrame *>(w) || qobject_cast<const QLineEdit *>(w) ||
        qobject_cast<const QAbstractSpinBox *>(w))
        return Kind::Frame;
    return Kind::Other;
}

int Prop(const QWidget *widget, const char *name) {
    return widget->property(name).toInt();
}

void SetProp(QWidget *widget, const char *name, int value) {
    // every change of a dynamic property is an event: skip the ones that change nothing
    const QVariant current = widget->property(name);
    if (current.typeId() == QMetaType::Int && current.toInt() == value)
        return;
    widget->setProperty(name, value);
}

// Push buttons ----------------------------------------------------------------------------------

void StartFadeTimer(QWidget *button) {
    if (Prop(button, kTimerId) == 0)
        SetProp(button, kTimerId, button->startTimer(15));
}

void StopFadeTimer(QWidget *button) {
    if (const int id = Prop(button, kTimerId); id != 0) {
        button->killTimer(id);
        SetProp(button, kTimerId, 0);
    }
}

int ButtonStyle(const QPushButton *button) {
    return button->isFlat() || button->isCheckable() || button->menu() ? kGraphicalStyle : 0;
}

namespace {

void DrawCaption(QPainter &dc, const QPushButton *button, const QString &caption, int state,
                 const QRect &box) {
    const QIcon icon = button->icon();
    if (icon.isNull()) {
        DrawTextIn(dc, caption, box.x(), box.y(), box.width(), box.height(), kCaptionFlags);
        return;
    }
    // A themed platform may give dialog buttons icons: icon and caption centred together.
    const QSize iconSize = button->iconSize();
    const int gap = caption.isEmpty() ? 0 : 4;
    const QFontMetrics metrics = dc.fontMetrics();
    const QString shown =
        metrics.elidedText(caption, Qt::ElideRight,
                           std::max(0, box.width() - iconSize.width() - gap), Qt::TextShowMnemonic);
    const int textWidth = shown.isEmpty() ? 0 : metrics.size(Qt::TextShowMnemonic, shown).width();
    const int x = box.x() + (box.width() - iconSize.width() - gap - textWidth) / 2;
    const QPixmap pixmap = icon.pixmap(iconSize, dc.device()->devicePixelRatioF(),
                                       state == 3 ? QIcon::Disabled : QIcon::Normal);
    dc.drawPixmap(x, box.y() + (box.height() - iconSize.height()) / 2, pixmap);
    DrawTextIn(dc, shown, x + iconSize.width() + gap, box.y(), textWidth, box.height(),
               DtLeft | DtVCenter | DtSingleLine);
}

} // namespace

void RenderButtonStates(QPushButton *button, const SkinSurfaces &s) {
    const int w = button->width(), h = button->height();
    const qreal ratio = button->devicePixelRatioF();
    const QString caption = GetWindowCaption(button);
    const QFont font(button->font(), button);
    const bool focused = button->hasFocus();
    for (int state = 0; state < 4; ++state) {
        QImage face = CreateMemDC(w, h, ratio);
        if (!face.isNull()) {
            QPainter dc(&face);
            dc.setFont(font);
            StretchSkinRect(dc, 0, 0, w, h, s.ButtonFaces, 0, 21 * state, 7, 21, 3, 3, 3, 3);
            dc.setPen(QColor::fromRgb(state == 3 ? kCaptionDisabled : kCaption));
            DrawCaption(dc, button, caption, state, QRect(2, 2, w - 4, h - 4));
            if (focused)
                DrawFocusBox(dc, 2, 2, w - 4, h - 4);
        }
        button->setProperty(kStateImage[state], face);
    }
    button->setProperty(kRenderedCaption, caption);
}

void SetButtonRegion(QPushButton *button) {
    const int w = button->width(), h = button->height();
    QRegion region(0, 0, w, h);
    if (w > 2 && h > 2) {
        region -= QRegion(0, 0, 1, 1);
        region -= QRegion(w - 1, 0, 1, 1);
        region -= QRegion(0, h - 1, 1, 1);
        region -= QRegion(w - 1, h - 1, 1, 1);
    }
    button->setMask(region);
}

void DrawPushButton(QPushButton *button) {
    if (!button->isEnabled())
        SetProp(button, kOldState, 3);
    if (Prop(button, kOldStyle) & 6)
        return;
    const int alpha = Prop(button, kAlphaLevel);
    if (alpha <= 0)
        return; // a blend with alpha 0 changes nothing
    const QImage face = ImageProp(button, kStateImage[std::clamp(Prop(button, kOldState), 0, 3)]);
    if (face.isNull())
        return;
    QImage shown = ImageProp(button, kShownImage);
    if (alpha >= 255 && shown.cacheKey() == face.cacheKey())
        return; // already shown as it is: a drag outside the button repaints nothing
    if (shown.size() != face.size() || alpha >= 255) {
        shown = face;
    } else {
        // Blends accumulate: each step moves what is shown further towards the new face.
        QPainter dc(&shown);
        dc.setOpacity(alpha / 255.0);
        dc.drawImage(0, 0, face);
    }
    button->setProperty(kShownImage, shown);
    button->update();
}

void ShowButtonState(QPushButton *button, bool repaint) {
    StopFadeTimer(button);
    SetProp(button, kAlphaLevel, 255);
    if (!button->isEnabled())
        SetProp(button, kOldState, 3);
    const int state = std::clamp(Prop(button, kOldState), 0, 3);
    button->setProperty(kShownImage, ImageProp(button, kStateImage[state]));
    if (repaint)
        button->update();
}

void PaintPushButton(QPushButton *button, QPainter &dc) {
    dc.drawImage(0, 0, ImageProp(button, kShownImage));
}

// Combo boxes -----------------------------------------------------------------------------------

int DropButtonWidth(const QComboBox *combo) {
    return combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, combo) + 1;
}

bool ComboDropped(const QComboBox *combo) {
    // the drop-down list is the combo box's only child window
    for (const QObject *child : combo->children())
        if (child->isWidgetType()) {
            auto *widget = static_cast<const QWidget *>(child);
            if (widget->isWindow() && widget->isVisible())
                return true;
        }
    return false;
}

bool InDropButton(const QComboBox *combo, const QPoint &pos) {
    const int w = combo->width(), h = combo->height();
    const int extent = DropButtonWidth(combo) - 1;
    return !(pos.x() < w - extent - 2 || pos.x() > w - 2 || pos.y() < 2 || pos.y() > h - 2);
}

void DrawComboButton(QComboBox *combo, int state, bool force) {
    if (ComboDropped(combo))
        state = 2;
    if (state == Prop(combo, kOldState) && !force)
        return;
    SetProp(combo, kOldState, state);
    const int bw = DropButtonWidth(combo);
    combo->update(QRect(combo->width() - bw - 1, 1, bw, combo->height() - 2));
}

namespace {

void PaintDropButton(QComboBox *combo, QPainter &dc, const SkinSurfaces &s) {
    const int state = ComboDropped(combo) ? 2 : Prop(combo, kOldState);
    SetProp(combo, kOldState, state);
    const int w = combo->width(), h = combo->height();
    const int bw = DropButtonWidth(combo);
    QImage button = CreateMemDC(bw, h - 2);
    if (button.isNull())
        return;
    {
        QPainter mem(&button);
        if (state == 1 || state == 2)
            StretchSkinRect(mem, 0, 0, bw, h - 2, s.ComboParts, state == 1 ? 0 : 4, 0, 4, 18, 2, 1,
                            1, 1);
        else
            FillRectColor(mem, 0, 0, bw, h - 2, kBackground);
        DrawTransparent(mem, (bw - 7) - RoundEven((bw - 7) / 2.0), RoundEven((h - 6) / 2.0), 7, 4,
                        s.ComboParts, 8, combo->isEnabled() ? 0 : 4, kMagenta);
    }
    dc.drawImage(w - bw - 1, 1, button);
}

// The current item of a combo box that cannot be edited, in a white field beside the button;
// highlighted while the box has the focus, as a drop-down list shows its selection.
void PaintComboLabel(QComboBox *combo, QPainter &dc) {
    const int bw = DropButtonWidth(combo);
    const QRect field(2, 2, combo->width() - bw - 5, combo->height() - 4);
    if (field.width() <= 0 || field.height() <= 0)
        return;
    const QPalette palette = combo->palette();
    const bool highlighted = combo->hasFocus() && !ComboDropped(combo);
    if (highlighted)
        dc.fillRect(field, palette.color(QPalette::Highlight));
    int x = field.x() + 2;
    const QIcon icon = combo->itemIcon(combo->currentIndex());
    if (!icon.isNull()) {
        const QSize size = combo->iconSize();
        dc.drawPixmap(x, field.y() + (field.height() - size.height()) / 2,
                      icon.pixmap(size, combo->devicePixelRatioF(),
                                  combo->isEnabled() ? QIcon::Normal : QIcon::Disabled));
        x += size.width() + 4;
    }
    dc.setPen(palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
    dc.setFont(combo->font());
    DrawTextIn(dc, combo->currentText(), x, field.y(), field.right() - 1 - x, field.height(),
               DtLeft | DtVCenter | DtSingleLine | DtEndEllipsis | DtNoPrefix);
}

} // namespace

void PaintComboBox(QComboBox *combo, QPainter &dc, const SkinSurfaces &s) {
    const int w = combo->width(), h = combo->height();
    FillRectColor(dc, 0, 0, w, h, kBackground);
    FrameRectColor(dc, 0, 0, w, h, BorderColour(combo));
    if (!combo->isEditable())
        PaintComboLabel(combo, dc);
    PaintDropButton(combo, dc, s);
}

// Check boxes and option buttons ----------------------------------------------------------------

QRect IndicatorRect(const QWidget *button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const bool check = qobject_cast<const QCheckBox *>(button) != nullptr;
    return button->style()->subElementRect(
        check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option, button);
}

void DrawCheckBox(QCheckBox *box, int state, bool force) {
    if (state == Prop(box, kOldState) && !force)
        return;
    SetProp(box, kOldState, state);
    box->update(IndicatorRect(box));
}

void PaintCheckBox(QCheckBox *box, QPainter &dc, const SkinSurfaces &s) {
    const QRect square = IndicatorRect(box);
    const int gw = square.width(), gh = square.height();
    QImage mem = CreateMemDC(gw, gh);
    if (mem.isNull())
        return;
    const int state = Prop(box, kOldState);
    const bool enabled = box->isEnabled();
    const Qt::CheckState check = box->checkState();
    {
        QPainter m(&mem);
        FillRectColor(m, 0, 0, gw, gh, kBackground);
        if (enabled) {
            FrameRectColor(m, 0, 0, gw, gh, state == 2 ? kCheckBorderPressed : kBorderEnabled);
            if (state == 1 || state == 2)
                StretchSkinRect(m, 1, 1, gw - 2, gh - 2, s.OptionFaces, 1, state == 1 ? 17 : 30, 11,
                                5, 0, 0, 0, 0);
        } else {
            FrameRectColor(m, 0, 0, gw, gh, kBorderDisabled);
        }
        if (check == Qt::Checked)
            DrawTransparent(m, RoundEven((gw - 9) / 2.0), RoundEven((gh - 8) / 2.0), 9, 8,
                            s.CheckGlyphs, enabled ? 0 : 9, 0, kMagenta);
        else if (check == Qt::PartiallyChecked)
            DrawTransparent(m, RoundEven((gw - 7) / 2.0), RoundEven((gh - 7) / 2.0), 7, 7,
                            s.CheckGlyphs, enabled ? 1 : 10, 9, kMagenta);
    }
    dc.drawImage(square.topLeft(), mem);
}

void DrawOptionButton(QRadioButton *button, int state, bool force) {
    if (state == Prop(button, kOldState) && !force)
        return;
    SetProp(button, kOldState, state);
    button->update(IndicatorRect(button));
}

void PaintOptionButton(QRadioButton *button, QPainter &dc, const SkinSurfaces &s) {
    const QRect circle = IndicatorRect(button);
    const int gw = circle.width(), gh = circle.height();
    const bool enabled = button->isEnabled();
    const int state = std::clamp(Prop(button, kOldState), 0, 2);
    StretchSkinRect(dc, circle.x(), circle.y(), gw, gh, s.OptionFaces, 0, enabled ? 13 * state : 39,
                    13, 13, 5, 5, 5, 5, kMagenta);
    if (button->isChecked())
        DrawTransparent(dc, circle.x() + RoundEven((gw - 5) / 2.0),
                        circle.y() + RoundEven((gh - 5) / 2.0), 5, 5, s.CheckGlyphs,
                        enabled ? 2 : 11, 18, kMagenta);
}

// Headers ---------------------------------------------------------------------------------------

int HeaderHitTest(const QHeaderView *header, const QPoint &pos) {
    return header->logicalIndexAt(pos);
}

QRect HeaderItemRect(const QHeaderView *header, int logicalIndex) {
    if (logicalIndex < 0 || logicalIndex >= header->count() ||
        header->isSectionHidden(logicalIndex))
        return {};
    const int pos = header->sectionViewportPosition(logicalIndex);
    const int size = header->sectionSize(logicalIndex);
    const QWidget *viewport = header->viewport();
    return header->orientation() == Qt::Horizontal ? QRect(pos, 0, size, viewport->height())
                                                   : QRect(0, pos, viewport->width(), size);
}

void DrawHeaderItem(QHeaderView *header, int logicalIndex) {
    const QRect item = HeaderItemRect(header, logicalIndex);
    if (!item.isEmpty())
        header->viewport()->update(item);
}

void PaintHeaderItem(QPainter &dc, const QHeaderView *header, int logicalIndex, int state,
                     const SkinSurfaces &s) {
    const QRect item = HeaderItemRect(header, logicalIndex);
    if (item.isEmpty())
        return;
    StretchSkinRect(dc, item.x(), item.y(), item.width(), item.height(), s.HeaderFaces, 3 * state,
                    0, 3, 20, 1, 1, 1, 1);
    const QAbstractItemModel *model = header->model();
    const QString text =
        model ? model->headerData(logicalIndex, header->orientation()).toString() : QString();
    if (!text.isEmpty())
        DrawTextIn(dc, text, item.x(), item.y(), item.width(), item.height(), kCaptionFlags);
}

void PaintHeader(QHeaderView *header, QPainter &dc, const QRect &dirty, const SkinSurfaces &s) {
    QWidget *viewport = header->viewport();
    const int w = viewport->width(), h = viewport->height();
    QImage mem = CreateMemDC(w, h, viewport->devicePixelRatioF());
    if (mem.isNull())
        return;
    {
        QPainter m(&mem);
        m.setFont(QFont(header->font(), viewport));
        m.setPen(QColor::fromRgb(kCaption));
        StretchSkinRect(m, 0, 0, w, h, s.HeaderFaces, 1, 0, 1, 20, 0, 0, 0, 0);
        // Only the items in the part to repaint: a vertical header may hold very many.
        const bool horizontal = header->orientation() == Qt::Horizontal;
        const int first = header->visualIndexAt(horizontal ? dirty.left() : dirty.top());
        int last = header->visualIndexAt(horizontal ? dirty.right() : dirty.bottom());
        if (last < 0)
            last = header->count() - 1;
        const int pressed = Prop(header, kHdIndex), hot = Prop(header, kHmIndex);
        for (int visual = first; first >= 0 && visual <= last; ++visual) {
            const int logical = header->logicalIndex(visual);
            const int state = logical == pressed ? 2 : logical == hot ? 1 : 0;
            PaintHeaderItem(m, header, logical, state, s);
        }
    }
    dc.drawImage(
        dirty, mem,
        QRectF(dirty.topLeft() * mem.devicePixelRatio(), dirty.size() * mem.devicePixelRatio()));
}

// Progress bars and borders ---------------------------------------------------------------------

void PaintProgressBar(QProgressBar *bar, QPainter &dc) {
    const int w = bar->width(), h = bar->height();
    QImage mem = CreateMemDC(w, h);
    if (mem.isNull())
        return;
    const int range = bar->maximum() - bar->minimum();
    const double f =
        range > 0 ? std::clamp(double(bar->value() - bar->minimum()) / range, 0.0, 1.0) : 0.0;
    {
        QPainter m(&mem);
        FillRectColor(m, 0, 0, w, h, kBorderEnabled);
        FillRectColor(m, 1, 1, w - 2, h - 2, kBackground);
        const QPoint border = GetBorderOffsets(bar);
        const int cw = w - 2 * border.x(), ch = h - 2 * border.y();
        if (f != 0) {
            if (bar->orientation() == Qt::Vertical) {
                const int filled = RoundEven(ch * f);
                const int top = bar->invertedAppearance() ? border.y() : border.y() + ch - filled;
                FillRectColor(m, border.x(), top, cw, filled, kProgressFill);
            } else {
                const int filled = RoundEven(cw * f);
                const int left = bar->invertedAppearance() ? border.x() + cw - filled : border.x();
                FillRectColor(m, left, border.y(), filled, ch, kProgressFill);
            }
        }
    }
    dc.drawImage(0, 0, mem);
}

QRgb BorderColour(const QWidget *widget) {
    return widget->isEnabled() ? kBorderEnabled : kBorderDisabled;
}

bool HasClientEdge(const QWidget *widget) {
    if (auto *frame = qobject_cast<const QFrame *>(widget)) {
        const QFrame::Shape shape = frame->frameShape();
        return shape != QFrame::NoFrame && shape != QFrame::HLine && shape != QFrame::VLine &&
               frame->frameWidth() > 0;
    }
    if (auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->hasFrame();
    if (auto *spin = qobject_cast<const QAbstractSpinBox *>(widget))
        return spin->hasFrame();
    return false;
}

void PaintFlatBorder(QWidget *widget, QPainter &dc) {
    const int w = widget->width(), h = widget->height();
    FrameRectColor(dc, 0, 0, w, h, BorderColour(widget));
    // the rest of the sunken edge takes the colour of what it surrounds
    const QWidget *client = widget;
    if (auto *area = qobject_cast<const QAbstractScrollArea *>(widget))
        client = area->viewport();
    const QRgb background = client->palette().color(client->backgroundRole()).rgb();
    const int border = GetBorderOffsets(widget).x();
    for (int e = 1; e < border; ++e)
        FrameRectColor(dc, e, e, w - 2 * e, h - 2 * e, background);
}

void PaintListFrame(QWidget *widget, QPainter &dc) {
    const int w = widget->width(), h = widget->height();
    FrameRectColor(dc, 0, 0, w, h, BorderColour(widget));
    FrameRectColor(dc, 1, 1, w - 2, h - 2, kBackground);
}

void PaintGridFrame(QWidget *widget, QPainter &dc) {
    if (HasClientEdge(widget))
        FrameRectColor(dc, 0, 0, widget->width(), widget->height(), BorderColour(widget));
}

} // namespace skin
