#pragma once

#include <QtGlobal>
#include <cmath>

// Lengths the settings keep in twips, 1440 to the inch.
namespace twips {

inline int toPixels(double twips, int dpi) {
    return qMax(1, qRound(twips * dpi / 1440.0));
}

// Whole twips, never below 100 so that a column dragged shut can still be found again.
inline double fromPixels(int pixels, int dpi) {
    const double twips = pixels * 1440.0 / dpi;
    return twips < 100 ? 100 : std::round(twips);
}

} // namespace twips
