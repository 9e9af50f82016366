#pragma once

#include "skin/SkinBitmaps.h"

#include <QImage>
#include <QRect>

class QCheckBox;
class QComboBox;
class QHeaderView;
class QPainter;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

// What the skin draws for each kind of control. A Qt widget can only be painted inside its own
// paint event, so the work is split in two: the Draw* procedures record the state to show and
// schedule a repaint of just the part concerned; the Paint* procedures draw it when that paint
// event comes.
namespace skin {

enum class Kind {
    Form,           // a top-level window: dialogs, main windows, message boxes
    PushButton,     // QPushButton
    ComboBox,       // QComboBox
    CheckBox,       // QCheckBox
    OptionButton,   // QRadioButton
    ProgressBar,    // QProgressBar
    Header,         // QHeaderView: the state lives here
    HeaderViewport, // ... and its viewport receives the mouse and paints
    List,           // list views and the drop-down list of a combo box
    Grid,           // table views
    Frame,          // other framed controls: line edits, text and tree views, framed panels
    Other,
};
Kind KindOf(const QWidget *widget);

// Per-widget state, kept as dynamic properties of the widget.
inline constexpr char kMouseFlag[] = "MOUSEFLAG";
inline constexpr char kOldState[] = "OLDSTATE";
inline constexpr char kOldStyle[] = "OLDSTYLE";
inline constexpr char kTimerId[] = "TIMERID";
inline constexpr char kAlphaLevel[] = "ALPHALEVEL";
inline constexpr char kHdIndex[] = "HDINDEX";
inline constexpr char kHmIndex[] = "HMINDEX";
// The four pre-rendered push-button faces, "HDC0" to "HDC3".
extern const char *const kStateImage[4];
// What the push button shows: the state faces blended over each other as a fade runs.
inline constexpr char kShownImage[] = "SHOWN";
// The caption the faces were rendered with.
inline constexpr char kRenderedCaption[] = "CAPTION";

int Prop(const QWidget *widget, const char *name);
void SetProp(QWidget *widget, const char *name, int value);

// Push buttons ----------------------------------------------------------------------------------
// The 15 ms fade timer of a push button, its id in TIMERID (0 when none runs).
void StartFadeTimer(QWidget *button);
void StopFadeTimer(QWidget *button);
// OLDSTYLE of a button the skin leaves to its own painting (flat, toggling or with a menu).
inline constexpr int kGraphicalStyle = 2;
int ButtonStyle(const QPushButton *button);
void RenderButtonStates(QPushButton *button, const SkinSurfaces &s);
// Rounded corners: the rectangle without its four corner pixels.
void SetButtonRegion(QPushButton *button);
// Blends the face of OLDSTATE with ALPHALEVEL into what the button shows.
void DrawPushButton(QPushButton *button);
// Shows the face of OLDSTATE opaquely, as after an expose (stops a running fade).
void ShowButtonState(QPushButton *button, bool repaint = true);
void PaintPushButton(QPushButton *button, QPainter &dc);

// Combo boxes -----------------------------------------------------------------------------------
int DropButtonWidth(const QComboBox *combo);
bool ComboDropped(const QComboBox *combo);
// The drop button's area, where an editable combo box reacts to the mouse.
bool InDropButton(const QComboBox *combo, const QPoint &pos);
void DrawComboButton(QComboBox *combo, int state, bool force);
void PaintComboBox(QComboBox *combo, QPainter &dc, const SkinSurfaces &s);

// Check boxes and option buttons ----------------------------------------------------------------
QRect IndicatorRect(const QWidget *button);
void DrawCheckBox(QCheckBox *box, int state, bool force);
void PaintCheckBox(QCheckBox *box, QPainter &dc, const SkinSurfaces &s);
void DrawOptionButton(QRadioButton *button, int state, bool force);
void PaintOptionButton(QRadioButton *button, QPainter &dc, const SkinSurfaces &s);

// Headers ---------------------------------------------------------------------------------------
int HeaderHitTest(const QHeaderView *header, const QPoint &pos);
QRect HeaderItemRect(const QHeaderView *header, int logicalIndex);
// Schedules the repaint of one item; its state follows HDINDEX and HMINDEX.
void DrawHeaderItem(QHeaderView *header, int logicalIndex);
void PaintHeaderItem(QPainter &dc, const QHeaderView *header, int logicalIndex, int state,
                     const SkinSurfaces &s);
void PaintHeader(QHeaderView *header, QPainter &dc, const QRect &dirty, const SkinSurfaces &s);

// Progress bars and borders ---------------------------------------------------------------------
void PaintProgressBar(QProgressBar *bar, QPainter &dc);
QRgb BorderColour(const QWidget *widget);
// True when the widget shows a sunken or panel border that the skin makes flat.
bool HasClientEdge(const QWidget *widget);
void PaintFlatBorder(QWidget *widget, QPainter &dc);
void PaintListFrame(QWidget *widget, QPainter &dc);
void PaintGridFrame(QWidget *widget, QPainter &dc);

} // namespace skin
