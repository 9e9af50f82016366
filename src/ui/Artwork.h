#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The program's icon and logo, drawn rather than shipped as bitmaps so they stay sharp at
// every size.
namespace artwork {
QIcon appIcon();
// The program's mark alone, square; needs no application object (the desktop icons are made
// from it at build time).
QImage markImage(int side);
QPixmap logo(const QSize &size);
// The 16x16 images of the category tree, numbered from 1: 1 to 9 the default categories in
// their order, 10 the root, 11 categories the user made. Other numbers give image 11.
QIcon categoryIcon(int number);
} // namespace artwork
