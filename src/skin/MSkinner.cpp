#include "skin/MSkinner.h"

#include "skin/SkinBitmaps.h"
#include "skin/SkinPaint.h"
#include "skin/SkinToolkit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QHash>
#include <QHeaderView>
#include <QHoverEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimerEvent>
#include <memory>

using namespace skin;

namespace {

// One engine for the whole program: the event filter of every skinned widget, and the owner of
// the shared bitmaps.
class SkinEngine final : public QObject {
public:
    static SkinEngine &instance() {
        static QPointer<SkinEngine> engine;
        if (!engine)
            engine = new SkinEngine(QCoreApplication::instance());
        return *engine;
    }

    bool eventFilter(QObject *watched, QEvent *event) override;

    void initialize() {
        if (SkinInitialized)
            return;
        SkinInitialized = true;
        surfaces = std::make_unique<SkinSurfaces>(CreateSkinBitmaps());
    }
    // One skinned widget less; the bitmaps go with the last one.
    void release() {
        if (--SkinnedCount > 0)
            return;
        SkinnedCount = 0;
        surfaces.reset();
        SkinInitialized = false;
    }
    void forget(QObject *object) {
        if (kinds.remove(object))
            release();
    }

    bool SkinInitialized = false;
    int SkinnedCount = 0;
    std::unique_ptr<SkinSurfaces> surfaces;
    // Every skinned widget with its kind; being listed is what marks a widget as skinned.
    QHash<const QObject *, Kind> kinds;

private:
    using QObject::QObject;
};

SkinEngine *Engine() {
    return &SkinEngine::instance();
}

const SkinSurfaces &Bitmaps() {
    return *Engine()->surfaces;
}

Kind SkinnedKind(const QWidget *widget) {
    return Engine()->kinds.value(widget, Kind::Other);
}

// A widget that appeared inside or over a skinned window, with everything in it.
void AttachTree(QWidget *widget) {
    if (!widget || skin::IsSkinned(widget))
        return;
    AttachSkin(widget);
    if (KindOf(widget) != Kind::Form)
        for (QWidget *child : widget->findChildren<QWidget *>())
            AttachSkin(child);
}

bool IsLeft(const QEvent *event) {
    return static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
}

QPoint MousePos(const QEvent *event) {
    return static_cast<const QMouseEvent *>(event)->position().toPoint();
}

bool LeftDown(const QEvent *event) {
    if (event->type() == QEvent::MouseMove)
        return static_cast<const QMouseEvent *>(event)->buttons() & Qt::LeftButton;
    return QGuiApplication::mouseButtons() & Qt::LeftButton;
}

bool IsSpace(const QEvent *event) {
    auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_Space && !key->isAutoRepeat();
}

// Lets the widget paint itself first, as the skin draws over what it painted.
void PaintDefault(QWidget *widget, QEvent *event) {
    static_cast<QObject *>(widget)->event(event);
}

// Only a repaint that reaches the outer border strip needs the flat border drawn again.
bool ReachesBorder(const QWidget *widget, const QEvent *event, int border) {
    const QRect inner = widget->rect().adjusted(border, border, -border, -border);
    return !inner.contains(static_cast<const QPaintEvent *>(event)->rect());
}

// Push buttons ----------------------------------------------------------------------------------

void ButtonMouseMove(QPushButton *button, bool inside) {
    if (Prop(button, kMouseFlag) == 0) {
        SetProp(button, kMouseFlag, 1);
        SetProp(button, kOldState, 1);
        SetProp(button, kAlphaLevel, 0);
        StartFadeTimer(button); // the hover face fades in
    } else if (!inside) {
        StopFadeTimer(button);
        SetProp(button, kAlphaLevel, 255);
        DrawPushButton(button);
    }
}

void ButtonMouseLeave(QPushButton *button) {
    SetProp(button, kMouseFlag, 0);
    SetProp(button, kOldState, 1);
    SetProp(button, kAlphaLevel, 140);
    DrawPushButton(button);
    SetProp(button, kOldState, 0);
    SetProp(button, kAlphaLevel, 0);
    StartFadeTimer(button); // the normal face fades back in
}

void ButtonDown(QPushButton *button) {
    StopFadeTimer(button);
    SetProp(button, kOldState, 2);
    SetProp(button, kAlphaLevel, 255);
    DrawPushButton(button);
    SetProp(button, kAlphaLevel, 0);
}

void ButtonUp(QPushButton *button, int alpha) {
    SetProp(button, kMouseFlag, 0);
    SetProp(button, kOldState, 0);
    SetProp(button, kAlphaLevel, alpha);
    StartFadeTimer(button);
}

void FadeStep(QPushButton *button) {
    int alpha = Prop(button, kAlphaLevel);
    DrawPushButton(button);
    alpha += 3;
    if (alpha >= 256) {
        StopFadeTimer(button);
        alpha = 0;
    }
    SetProp(button, kAlphaLevel, alpha);
}

bool FacesOutdated(const QPushButton *button) {
    const QImage face = button->property(kStateImage[0]).value<QImage>();
    return face.isNull() || face.deviceIndependentSize().toSize() != button->size() ||
           face.devicePixelRatio() != button->devicePixelRatioF() ||
           button->property(kRenderedCaption).toString() != GetWindowCaption(button);
}

// The caption is painted inside the border: a button that a layout sizes from the style's
// hint still shows it whole. Buttons placed by hand keep their size.
void FitCaption(QPushButton *button) {
    if (!button->parentWidget() || !button->parentWidget()->layout())
        return;
    QString caption;
    const QString text = button->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i; // "&x" shows x underlined, "&&" one ampersand
        caption += text[i];
    }
    const int needed = button->fontMetrics().horizontalAdvance(caption) + 16;
    if (button->minimumWidth() < needed && button->sizeHint().width() < needed)
        button->setMinimumWidth(needed);
}

bool PushButtonProc(QPushButton *button, QEvent *event) {
    if (Prop(button, kOldStyle) & 6)
        return false; // left to its own painting, it has nothing to fade either
    switch (event->type()) {
    case QEvent::Paint: {
        if (FacesOutdated(button)) { // a new caption, or a size not seen yet
            RenderButtonStates(button, Bitmaps());
            ShowButtonState(button, false);
        }
        QPainter dc(button);
        PaintPushButton(button, dc);
        return true;
    }
    case QEvent::Resize:
        RenderButtonStates(button, Bitmaps());
        SetButtonRegion(button);
        ShowButtonState(button);
        return false;
    case QEvent::FontChange:
        RenderButtonStates(button, Bitmaps());
        ShowButtonState(button);
        return false;
    case QEvent::Show:
        ShowButtonState(button);
        return false;
    case QEvent::EnabledChange:
        // the face changes at once, as the repaint after enabling or disabling shows it
        SetProp(button, kOldState, button->isEnabled() ? 0 : 3);
        DrawPushButton(button);
        ShowButtonState(button);
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        RenderButtonStates(button, Bitmaps()); // with or without the focus rectangle
        SetProp(button, kAlphaLevel, 0);
        StartFadeTimer(button);
        return false;
    case QEvent::Timer:
        if (const int id = Prop(button, kTimerId);
            id != 0 && static_cast<QTimerEvent *>(event)->timerId() == id)
            FadeStep(button);
        return false;
    default:
        break;
    }
    if (!button->isEnabled())
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        ButtonMouseMove(button, true);
        break;
    case QEvent::HoverMove:
        ButtonMouseMove(button, button->rect().contains(
                                    static_cast<QHoverEvent *>(event)->position().toPoint()));
        break;
    case QEvent::MouseMove:
        ButtonMouseMove(button, button->rect().contains(MousePos(event)));
        break;
    case QEvent::Leave:
        ButtonMouseLeave(button);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (IsLeft(event))
            ButtonDown(button);
        break;
    case QEvent::MouseButtonRelease:
        if (IsLeft(event))
            ButtonUp(button, 60);
        break;
    case QEvent::KeyPress:
        if (IsSpace(event))
            ButtonDown(button);
        break;
    case QEvent::KeyRelease:
        if (IsSpace(event))
            ButtonUp(button, 0);
        break;
    default:
        break;
    }
    return false;
}

// Combo boxes -----------------------------------------------------------------------------------

void ComboMouseMove(QComboBox *combo, const QPoint &pos, bool leftDown) {
    if (Prop(combo, kMouseFlag) == 0)
        SetProp(combo, kMouseFlag, 1);
    int state = leftDown ? 2 : 1;
    if (combo->isEditable() && !InDropButton(combo, pos))
        state = 0;
    DrawComboButton(combo, state, false);
}

bool ComboProc(QComboBox *combo, QEvent *event) {
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter dc(combo);
        PaintComboBox(combo, dc, Bitmaps());
        return true;
    }
    case QEvent::Move:
    case QEvent::Resize:
        DrawComboButton(combo, 0, false);
        return false;
    default:
        break;
    }
    if (!combo->isEnabled())
        return false;
    switch (event->type()) {
    case QEvent::Enter:
        ComboMouseMove(combo, static_cast<QEnterEvent *>(event)->position().toPoint(), false);
        break;
    case QEvent::HoverMove:
        ComboMouseMove(combo, static_cast<QHoverEvent *>(event)->position().toPoint(),
                       LeftDown(event));
        break;
    case QEvent::MouseMove:
        ComboMouseMove(combo, MousePos(event), LeftDown(event));
        break;
    case QEvent::MouseButtonPress:
        if (IsLeft(event) && (!combo->isEditable() || InDropButton(combo, MousePos(event))))
            DrawComboButton(combo, 2, false);
        break;
    case QEvent::MouseButtonRelease:
        if (IsLeft(event))
            DrawComboButton(combo, combo->rect().contains(MousePos(event)) ? 1 : 0, false);
        break;
    case QEvent::Leave:
        SetProp(combo, kMouseFlag, 0);
        DrawComboButton(combo, 0, false);
        break;
    default:
        break;
    }
    return false;
}

// Check boxes and option buttons ----------------------------------------------------------------

template <typename Button, typename Draw>
void GlyphMouse(Button *button, QEvent *event, Draw draw) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::HoverMove:
    case QEvent::MouseMove:
        SetProp(button, kMouseFlag, 1);
        draw(button, LeftDown(event) ? 2 : 1, false);
        break;
    case QEvent::MouseButtonPress:
        if (IsLeft(event))
            draw(button, 2, false);
        break;
    case QEvent::MouseButtonRelease:
        if (IsLeft(event))
            draw(button, 0, false);
        break;
    case QEvent::Leave:
        SetProp(button, kMouseFlag, 0);
        draw(button, 0, false);
        break;
    case QEvent::KeyPress:
        if (IsSpace(event))
            draw(button, 2, false);
        break;
    case QEvent::KeyRelease:
        if (IsSpace(event))
            draw(button, 0, false);
        break;
    default:
        break;
    }
}

bool CheckBoxProc(QCheckBox *box, QEvent *event) {
    if (event->type() == QEvent::Paint) {
        if (!static_cast<QPaintEvent *>(event)->rect().intersects(IndicatorRect(box)))
            return false;
        PaintDefault(box, event);
        QPainter dc(box);
        PaintCheckBox(box, dc, Bitmaps());
        return true;
    }
    if (box->isEnabled())
        GlyphMouse(box, event, DrawCheckBox);
    return false;
}

bool OptionButtonProc(QRadioButton *button, QEvent *event) {
    switch (event->type()) {
    case QEvent::Paint: {
        if (!static_cast<QPaintEvent *>(event)->rect().intersects(IndicatorRect(button)))
            return false;
        PaintDefault(button, event);
        QPainter dc(button);
        PaintOptionButton(button, dc, Bitmaps());
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        DrawOptionButton(button, 0, true);
        return false;
    default:
        break;
    }
    if (button->isEnabled())
        GlyphMouse(button, event, DrawOptionButton);
    return false;
}

// Redraws the glyphs of the check boxes and option buttons beside a widget the mouse was
// released on: a click may have changed any of them.
void RefreshGlyphs(QWidget *widget) {
    QWidget *parent = widget->parentWidget() ? widget->parentWidget() : widget;
    for (QWidget *child : parent->findChildren<QWidget *>()) {
        const Kind kind = SkinnedKind(child);
        if (kind != Kind::CheckBox && kind != Kind::OptionButton)
            continue;
        if (Prop(child, kOldState) == 0)
            continue; // already drawn in state 0
        if (auto *box = qobject_cast<QCheckBox *>(child))
            DrawCheckBox(box, 0, true);
        else if (auto *option = qobject_cast<QRadioButton *>(child))
            DrawOptionButton(option, 0, true);
    }
}

// Headers ---------------------------------------------------------------------------------------

void HeaderMouseMove(QHeaderView *header, const QPoint &pos, bool leftDown) {
    SetProp(header, kMouseFlag, 1); // arms the leave handling
    const int hit = HeaderHitTest(header, pos);
    const int hot = Prop(header, kHmIndex), pressed = Prop(header, kHdIndex);
    if (hit == hot)
        return;
    if (!leftDown) {
        SetProp(header, kHmIndex, hit);
        DrawHeaderItem(header, hot);
        DrawHeaderItem(header, hit);
    } else if (hot >= 0 && hot != pressed) {
        // dragging: the old hot item goes back to normal; only the pressed item shows pressed
        SetProp(header, kHmIndex, -1);
        DrawHeaderItem(header, hot);
    }
}

void HeaderDown(QHeaderView *header, const QPoint &pos) {
    const int hit = HeaderHitTest(header, pos);
    SetProp(header, kHdIndex, hit);
    DrawHeaderItem(header, hit);
}

void HeaderUp(QHeaderView *header, bool overHeader) {
    const int pressed = Prop(header, kHdIndex);
    SetProp(header, kHdIndex, -1);
    if (pressed < 0)
        return;
    const int hot = Prop(header, kHmIndex);
    if (overHeader) {
        SetProp(header, kHmIndex, pressed);
        if (hot != pressed)
            DrawHeaderItem(header, hot);
    } else if (hot == pressed) {
        SetProp(header, kHmIndex, -1);
    }
    DrawHeaderItem(header, pressed);
}

void HeaderLeave(QHeaderView *header) {
    const int hot = Prop(header, kHmIndex), pressed = Prop(header, kHdIndex);
    SetProp(header, kMouseFlag, 0);
    SetProp(header, kHdIndex, -1);
    SetProp(header, kHmIndex, -1);
    DrawHeaderItem(header, hot);
    if (pressed != hot)
        DrawHeaderItem(header, pressed);
}

bool HeaderViewportProc(QWidget *viewport, QEvent *event) {
    auto *header = qobject_cast<QHeaderView *>(viewport->parentWidget());
    if (!header || SkinnedKind(header) != Kind::Header)
        return false;
    if (event->type() == QEvent::Paint) {
        QPainter dc(viewport);
        PaintHeader(header, dc, static_cast<QPaintEvent *>(event)->rect(), Bitmaps());
        return true;
    }
    if (!header->isEnabled())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        HeaderMouseMove(header, MousePos(event), LeftDown(event));
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (IsLeft(event))
            HeaderDown(header, MousePos(event));
        break;
    case QEvent::MouseButtonRelease:
        if (IsLeft(event))
            HeaderUp(header, viewport->rect().contains(MousePos(event)));
        break;
    case QEvent::Leave:
        HeaderLeave(header);
        break;
    default:
        break;
    }
    return false;
}

// Lists, grids, frames --------------------------------------------------------------------------

bool ListProc(QWidget *list, QEvent *event) {
    switch (event->type()) {
    case QEvent::Paint:
        if (!ReachesBorder(list, event, 2))
            return false;
        PaintDefault(list, event);
        {
            QPainter dc(list);
            PaintListFrame(list, dc);
        }
        return true;
    case QEvent::Show:
    case QEvent::Hide:
        // a combo box's drop-down list: its button shows pressed while the list is open
        if (auto *combo = qobject_cast<QComboBox *>(list->parentWidget());
            combo && list->isWindow() && SkinnedKind(combo) == Kind::ComboBox) {
            if (event->type() == QEvent::Show) {
                DrawComboButton(combo, 2, true);
            } else {
                SetProp(combo, kOldState, combo->underMouse() ? 1 : 0);
                combo->update();
            }
        }
        return false;
    default:
        return false;
    }
}

bool GridProc(QWidget *grid, QEvent *event) {
    if (event->type() != QEvent::Paint || !HasClientEdge(grid) || !ReachesBorder(grid, event, 1))
        return false;
    PaintDefault(grid, event);
    QPainter dc(grid);
    PaintGridFrame(grid, dc);
    return true;
}

bool FrameProc(QWidget *frame, QEvent *event) {
    if (event->type() != QEvent::Paint || !HasClientEdge(frame))
        return false;
    if (!ReachesBorder(frame, event, std::max(1, GetBorderOffsets(frame).x())))
        return false;
    PaintDefault(frame, event);
    QPainter dc(frame);
    PaintFlatBorder(frame, dc);
    return true;
}

// Every event of every skinned widget passes here first; true keeps it from the widget.
bool SkinWndProc(QWidget *widget, QEvent *event) {
    const auto found = Engine()->kinds.constFind(widget);
    if (found == Engine()->kinds.constEnd())
        return false;
    const Kind kind = *found;
    switch (event->type()) {
    case QEvent::ChildPolished: // a control, dialog or drop-down list made inside a skinned one
        if (QObject *child = static_cast<QChildEvent *>(event)->child();
            child && child->isWidgetType())
            AttachTree(static_cast<QWidget *>(child));
        return false;
    case QEvent::WindowDeactivate: // another window became active over this one
        if (widget->isWindow()) {
            QWidget *other = QApplication::activeWindow();
            if (other && other != widget &&
                (other->parentWidget() == widget || KindOf(other) == Kind::Form))
                AttachTree(other);
        }
        return false;
    case QEvent::WindowBlocked: // a modal dialog, such as a message box, opened over this one
        if (widget->isWindow())
            if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != widget)
                AttachTree(modal);
        return false;
    default:
        break;
    }
    bool handled = false;
    switch (kind) {
    case Kind::PushButton:
        if (auto *button = qobject_cast<QPushButton *>(widget))
            handled = PushButtonProc(button, event);
        break;
    case Kind::ComboBox:
        if (auto *combo = qobject_cast<QComboBox *>(widget))
            handled = ComboProc(combo, event);
        break;
    case Kind::CheckBox:
        if (auto *box = qobject_cast<QCheckBox *>(widget))
            handled = CheckBoxProc(box, event);
        break;
    case Kind::OptionButton:
        if (auto *option = qobject_cast<QRadioButton *>(widget))
            handled = OptionButtonProc(option, event);
        break;
    case Kind::ProgressBar:
        if (auto *bar = qobject_cast<QProgressBar *>(widget);
            bar && event->type() == QEvent::Paint) {
            QPainter dc(bar);
            PaintProgressBar(bar, dc);
            handled = true;
        }
        break;
    case Kind::HeaderViewport:
        handled = HeaderViewportProc(widget, event);
        break;
    case Kind::List:
        handled = ListProc(widget, event);
        break;
    case Kind::Grid:
        handled = GridProc(widget, event);
        break;
    case Kind::Frame:
        handled = FrameProc(widget, event);
        break;
    case Kind::Form:
    case Kind::Header:
    case Kind::Other:
        break;
    }
    if (event->type() == QEvent::MouseButtonRelease && IsLeft(event))
        RefreshGlyphs(widget);
    return handled;
}

bool SkinEngine::eventFilter(QObject *watched, QEvent *event) {
    if (!watched->isWidgetType())
        return false;
    // Most events of most widgets (a scrolling table's viewport above all) leave at once.
    switch (event->type()) {
    case QEvent::Paint:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverMove:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::EnabledChange:
    case QEvent::FontChange:
    case QEvent::Timer:
    case QEvent::WindowDeactivate:
    case QEvent::WindowBlocked:
    case QEvent::ChildPolished:
        return SkinWndProc(static_cast<QWidget *>(watched), event);
    default:
        return false;
    }
}

void ClearProps(QWidget *widget, std::initializer_list<const char *> names) {
    for (const char *name : names)
        widget->setProperty(name, QVariant());
}

} // namespace

int AttachSkin(QWidget *window) {
    if (!window)
        return 0;
    SkinEngine *engine = Engine();
    if (engine->kinds.contains(window))
        return 0;
    engine->initialize();
    const Kind kind = KindOf(window);
    if (kind == Kind::Form)
        for (QWidget *child : window->findChildren<QWidget *>())
            AttachSkin(child);
    switch (kind) {
    case Kind::PushButton: {
        auto *button = static_cast<QPushButton *>(window);
        RenderButtonStates(button, *engine->surfaces);
        SetProp(button, kOldStyle, ButtonStyle(button));
        SetProp(button, kMouseFlag, 0);
        SetProp(button, kTimerId, 0);
        SetProp(button, kOldState, button->isEnabled() ? 0 : 3);
        SetProp(button, kAlphaLevel, 0);
        button->setProperty(kShownImage, button->property(kStateImage[Prop(button, kOldState)]));
        SetButtonRegion(button);
        break;
    }
    case Kind::ComboBox:
    case Kind::CheckBox:
    case Kind::OptionButton:
        SetProp(window, kMouseFlag, 0);
        SetProp(window, kOldState, 0);
        break;
    case Kind::Header:
        SetProp(window, kMouseFlag, 0);
        SetProp(window, kHdIndex, -1);
        SetProp(window, kHmIndex, -1);
        break;
    default:
        break;
    }
    ++engine->SkinnedCount;
    engine->kinds.insert(window, kind);
    if (kind == Kind::PushButton)
        FitCaption(static_cast<QPushButton *>(window));
    window->installEventFilter(engine);
    QObject::connect(window, &QObject::destroyed, engine,
                     [](QObject *gone) { SkinEngine::instance().forget(gone); });
    window->update();
    return 1;
}

bool DetachSkin(QWidget *window) {
    if (!window)
        return false;
    SkinEngine *engine = Engine();
    const auto found = engine->kinds.constFind(window);
    if (found == engine->kinds.constEnd())
        return false;
    const Kind kind = *found;
    if (kind == Kind::Form)
        for (QWidget *child : window->findChildren<QWidget *>())
            DetachSkin(child);
    switch (kind) {
    case Kind::PushButton:
        StopFadeTimer(window);
        ClearProps(window,
                   {kStateImage[0], kStateImage[1], kStateImage[2], kStateImage[3], kShownImage,
                    kRenderedCaption, kOldStyle, kMouseFlag, kTimerId, kOldState, kAlphaLevel});
        window->clearMask();
        break;
    case Kind::ComboBox:
    case Kind::CheckBox:
    case Kind::OptionButton:
        ClearProps(window, {kMouseFlag, kOldState});
        break;
    case Kind::Header:
        ClearProps(window, {kMouseFlag, kHdIndex, kHmIndex});
        break;
    default:
        break;
    }
    engine->kinds.remove(window);
    window->removeEventFilter(engine);
    QObject::disconnect(window, &QObject::destroyed, engine, nullptr);
    window->update();
    engine->release();
    return true;
}

int SkinWindow(QWidget *window) {
    if (!window)
        return 0;
    Engine()->initialize();
    const int result = AttachSkin(window);
    if (KindOf(window) != Kind::Form)
        for (QWidget *child : window->findChildren<QWidget *>())
            AttachSkin(child);
    return result;
}

namespace skin {

bool SkinInitialized() {
    return Engine()->SkinInitialized;
}

int SkinnedCount() {
    return Engine()->SkinnedCount;
}

const SkinSurfaces *Surfaces() {
    return Engine()->surfaces.get();
}

bool IsSkinned(const QWidget *widget) {
    return Engine()->kinds.contains(widget);
}

} // namespace skin
