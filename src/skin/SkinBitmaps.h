#pragma once

#include <QImage>

// The five bitmaps of the skin, built in memory rather than shipped as resources. Each is a strip
// of cells, one per visual state or glyph; magenta marks what a keyed copy leaves out.
namespace skin {

struct SkinSurfaces {
    QImage ButtonFaces; // 7 x 84: push-button faces normal, hover, pressed, disabled (7 x 21)
    QImage ComboParts;  // 15 x 18: drop-button hover and pressed backgrounds, two arrows
    QImage CheckGlyphs; // 18 x 24: check marks, grayed squares, option dots (enabled, disabled)
    QImage OptionFaces; // 13 x 52: option circles normal, hover, pressed, disabled (13 x 13)
    QImage HeaderFaces; // 9 x 20: header items normal, hot, pressed (3 x 20)
};

inline constexpr QSize kButtonFacesSize{7, 84};
inline constexpr QSize kComboPartsSize{15, 18};
inline constexpr QSize kCheckGlyphsSize{18, 24};
inline constexpr QSize kOptionFacesSize{13, 52};
inline constexpr QSize kHeaderFacesSize{9, 20};

// Creates the five surfaces and sets all their pixels.
SkinSurfaces CreateSkinBitmaps();
// Sets every pixel of the five surfaces, which must already have their sizes.
void SetSkinPixels(SkinSurfaces &surfaces);

} // namespace skin
