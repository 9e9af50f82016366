#pragma once

#include <QIcon>
#include <QPixmap>

// The program's icon and logo, drawn rather than shipped as bitmaps so they stay sharp at
// every size.
namespace artwork {
QIcon appIcon();
QPixmap logo(const QSize &size);
} // namespace artwork
