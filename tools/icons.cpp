// Writes the desktop icons of the program into a hicolor theme folder:
// <folder>/<n>x<n>/apps/org.ombrivo.Ombrivo.png for each size.
#include "ui/Artwork.h"

#include <QDir>
#include <cstdio>

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ombrivo_icons <hicolor folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(side);
        const QString file = folder + QStringLiteral("/org.ombrivo.Ombrivo.png");
        if (!QDir().mkpath(folder) || !artwork::markImage(side).save(file, "PNG")) {
            std::fprintf(stderr, "ombrivo_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
