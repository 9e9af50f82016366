#pragma once

class QWidget;

// The program's own look: a flat, light-blue skin drawn over the standard controls, without
// painting code in the windows. A window calls SkinWindow(this) once when it is set up; from
// then on the engine watches the window and everything in it through an event filter and paints
// push buttons, combo boxes, check boxes, option buttons, headers, progress bars, lists and
// framed controls itself. Windows that open later (message boxes, other dialogs, drop-down
// lists) are picked up from the events of the windows already skinned.

// Skins the window and all its descendants; 1 when it was newly skinned, 0 otherwise. The first
// call builds the skin's bitmaps.
int SkinWindow(QWidget *window);
// Skins one widget (a window with all its descendants); 1 when newly skinned.
int AttachSkin(QWidget *window);
// Undoes AttachSkin; when the last skinned widget goes, the bitmaps are freed and the next
// SkinWindow builds them again. A skinned widget that is destroyed is detached on its own.
bool DetachSkin(QWidget *window);

namespace skin {
struct SkinSurfaces;

bool SkinInitialized();
// The number of widgets currently skinned.
int SkinnedCount();
// The shared bitmaps; null while nothing is skinned.
const SkinSurfaces *Surfaces();
bool IsSkinned(const QWidget *widget);
} // namespace skin
