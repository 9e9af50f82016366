#include "skin/MSkinner.h"
#include "skin/SkinBitmaps.h"
#include "skin/SkinToolkit.h"

#include <QDialog>
#include <QPainter>
#include <QPushButton>
#include <QTest>

using namespace skin;

namespace {

QImage SkinSurfaces::*const kSurfaces[] = {&SkinSurfaces::ButtonFaces, &SkinSurfaces::ComboParts,
                                           &SkinSurfaces::CheckGlyphs, &SkinSurfaces::OptionFaces,
                                           &SkinSurfaces::HeaderFaces};
const QSize kSizes[] = {kButtonFacesSize, kComboPartsSize, kCheckGlyphsSize, kOptionFacesSize,
                        kHeaderFacesSize};
const char *const kNames[] = {"ButtonFaces", "ComboParts", "CheckGlyphs", "OptionFaces",
                              "HeaderFaces"};

SkinSurfaces FilledWith(QRgb sentinel) {
    SkinSurfaces s;
    for (int i = 0; i < 5; ++i) {
        QImage image(kSizes[i], QImage::Format_RGB32);
        image.fill(sentinel);
        s.*kSurfaces[i] = image;
    }
    return s;
}

int CountOf(const QImage &image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    return count;
}

// A source with distinct colours in every pixel, to see where each one lands.
QImage Numbered(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(10 + x * 20, 10 + y * 20, 128));
    return image;
}

} // namespace

class TestSkinBitmaps : public QObject {
    Q_OBJECT

private slots:
    void surfacesHaveTheirSizes_data();
    void surfacesHaveTheirSizes();
    void everyPixelIsSet_data();
    void everyPixelIsSet();
    void magentaOnlyWhereCellsAreKeyed_data();
    void magentaOnlyWhereCellsAreKeyed();
    void stretchKeepsCornersAndStretchesEdges();
    void stretchWithoutMarginsScalesTheWholeCell();
    void stretchOfNothingDrawsNothing();
    void transparentCopyLeavesKeyPixels();
    void focusBoxInvertsEveryOtherPixel();
    void memorySurfaceOfNoSizeIsNull();
};

void TestSkinBitmaps::surfacesHaveTheirSizes_data() {
    QTest::addColumn<int>("surface");
    QTest::addColumn<QSize>("size");
    QTest::newRow("ButtonFaces") << 0 << QSize(7, 84);
    QTest::newRow("ComboParts") << 1 << QSize(15, 18);
    QTest::newRow("CheckGlyphs") << 2 << QSize(18, 24);
    QTest::newRow("OptionFaces") << 3 << QSize(13, 52);
    QTest::newRow("HeaderFaces") << 4 << QSize(9, 20);
}

void TestSkinBitmaps::surfacesHaveTheirSizes() {
    QFETCH(int, surface);
    QFETCH(QSize, size);
    QDialog window;
    new QPushButton(QStringLiteral("确定"), &window);
    QCOMPARE(SkinWindow(&window), 1);
    QVERIFY(Surfaces());
    QCOMPARE((Surfaces()->*kSurfaces[surface]).size(), size);
}

void TestSkinBitmaps::everyPixelIsSet_data() {
    QTest::addColumn<int>("surface");
    for (int i = 0; i < 5; ++i)
        QTest::newRow(kNames[i]) << i;
}

void TestSkinBitmaps::everyPixelIsSet() {
    QFETCH(int, surface);
    // Two runs over surfaces filled with different sentinels: a pixel the builder skipped keeps
    // the sentinel in both.
    SkinSurfaces first = FilledWith(qRgb(1, 2, 3));
    SkinSurfaces second = FilledWith(qRgb(251, 3, 7));
    SetSkinPixels(first);
    SetSkinPixels(second);
    const QImage &a = first.*kSurfaces[surface];
    const QImage &b = second.*kSurfaces[surface];
    int unset = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            unset += a.pixel(x, y) == qRgb(1, 2, 3) && b.pixel(x, y) == qRgb(251, 3, 7);
    QCOMPARE(unset, 0);
    QCOMPARE(a, b);
}

void TestSkinBitmaps::magentaOnlyWhereCellsAreKeyed_data() {
    QTest::addColumn<int>("surface");
    QTest::addColumn<bool>("keyed");
    QTest::newRow("ButtonFaces: opaque") << 0 << false;
    QTest::newRow("ComboParts: keyed arrows") << 1 << true;
    QTest::newRow("CheckGlyphs: keyed glyphs") << 2 << true;
    QTest::newRow("OptionFaces: keyed circles") << 3 << true;
    QTest::newRow("HeaderFaces: opaque") << 4 << false;
}

void TestSkinBitmaps::magentaOnlyWhereCellsAreKeyed() {
    QFETCH(int, surface);
    QFETCH(bool, keyed);
    const SkinSurfaces s = CreateSkinBitmaps();
    const QImage &image = s.*kSurfaces[surface];
    QCOMPARE(CountOf(image, kMagenta) > 0, keyed);
    if (surface == 3) {
        // each circle leaves its four corners to the key and nothing inside the circle
        for (int cell = 0; cell < 4; ++cell) {
            QCOMPARE(image.pixel(0, 13 * cell), kMagenta);
            QCOMPARE(image.pixel(12, 13 * cell + 12), kMagenta);
            QVERIFY(image.pixel(6, 13 * cell + 6) != kMagenta);
            QVERIFY(image.pixel(0, 13 * cell + 6) != kMagenta);
        }
    }
}

void TestSkinBitmaps::stretchKeepsCornersAndStretchesEdges() {
    const QImage source = Numbered(5, 5);
    QImage target(20, 12, QImage::Format_RGB32);
    target.fill(Qt::black);
    {
        QPainter dc(&target);
        StretchSkinRect(dc, 0, 0, 20, 12, source, 0, 0, 5, 5, 1, 1, 1, 1);
    }
    struct Expect {
        QPoint at;
        QPoint from;
    };
    const Expect expected[] = {
        {{0, 0}, {0, 0}}, {{19, 0}, {4, 0}},  {{0, 11}, {0, 4}},  {{19, 11}, {4, 4}}, // corners
        {{0, 1}, {0, 1}}, {{0, 10}, {0, 3}},  {{19, 5}, {4, 2}},                      // sides
        {{1, 0}, {1, 0}}, {{18, 0}, {3, 0}},  {{10, 11}, {2, 4}},                     // top, bottom
        {{1, 1}, {1, 1}}, {{18, 10}, {3, 3}},                                         // centre
    };
    for (const Expect &e : expected)
        QCOMPARE(target.pixel(e.at), source.pixel(e.from));
}

void TestSkinBitmaps::stretchWithoutMarginsScalesTheWholeCell() {
    const QImage source = Numbered(2, 2);
    QImage target(8, 8, QImage::Format_RGB32);
    {
        QPainter dc(&target);
        StretchSkinRect(dc, 0, 0, 8, 8, source, 0, 0, 2, 2, 0, 0, 0, 0);
    }
    QCOMPARE(target.pixel(0, 0), source.pixel(0, 0));
    QCOMPARE(target.pixel(3, 3), source.pixel(0, 0));
    QCOMPARE(target.pixel(4, 4), source.pixel(1, 1));
    QCOMPARE(target.pixel(7, 0), source.pixel(1, 0));
}

void TestSkinBitmaps::stretchOfNothingDrawsNothing() {
    QImage target(4, 4, QImage::Format_RGB32);
    target.fill(Qt::black);
    const QImage before = target;
    {
        QPainter dc(&target);
        StretchSkinRect(dc, 0, 0, 0, 4, Numbered(3, 3), 0, 0, 3, 3, 1, 1, 1, 1);
        StretchSkinRect(dc, 0, 0, 4, 4, Numbered(3, 3), 0, 0, 0, 3, 1, 1, 1, 1);
    }
    QCOMPARE(target, before);
}

void TestSkinBitmaps::transparentCopyLeavesKeyPixels() {
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, kMagenta);
    source.setPixel(1, 0, qRgb(0, 128, 0));
    QImage target(2, 1, QImage::Format_RGB32);
    target.fill(qRgb(200, 10, 10));
    {
        QPainter dc(&target);
        DrawTransparent(dc, 0, 0, 2, 1, source, 0, 0, kMagenta);
    }
    QCOMPARE(target.pixel(0, 0), qRgb(200, 10, 10));
    QCOMPARE(target.pixel(1, 0), qRgb(0, 128, 0));
}

void TestSkinBitmaps::focusBoxInvertsEveryOtherPixel() {
    QImage target(6, 4, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter dc(&target);
        DrawFocusBox(dc, 0, 0, 6, 4);
    }
    QCOMPARE(target.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(target.pixel(1, 0), qRgb(255, 255, 255));
    QCOMPARE(target.pixel(2, 0), qRgb(0, 0, 0));
    QCOMPARE(target.pixel(0, 2), qRgb(0, 0, 0));
    QCOMPARE(target.pixel(2, 2), qRgb(255, 255, 255)); // inside stays
}

void TestSkinBitmaps::memorySurfaceOfNoSizeIsNull() {
    QVERIFY(CreateMemDC(0, 5).isNull());
    QVERIFY(CreateMemDC(5, -1).isNull());
    QCOMPARE(CreateMemDC(3, 2).size(), QSize(3, 2));
}

QTEST_MAIN(TestSkinBitmaps)
#include "tst_skinbitmaps.moc"
