#include "core/Gradient.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage painted(int width, int height = 10) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    PaintGradient(image);
    return image;
}

// First column (from x = 1) whose colour differs from column 0, i.e. where band 1 starts.
int secondBandStart(const QImage &image) {
    for (int x = 1; x < image.width(); ++x)
        if (image.pixel(x, 0) != image.pixel(0, 0))
            return x;
    return -1;
}

TEST(Gradient, BandsOfTwentyOnAThousandWideTarget) {
    const QImage image = painted(1000);
    struct Probe {
        int x;
        QRgb colour;
    };
    const Probe probes[] = {
        {0, qRgb(213, 231, 246)},   {19, qRgb(213, 231, 246)},  // band 0: 0..20, 20 painted over
        {500, qRgb(234, 243, 251)}, {519, qRgb(234, 243, 251)}, // band 25
        {900, qRgb(251, 253, 254)}, {919, qRgb(251, 253, 254)}, // band 45
        {980, qRgb(254, 255, 255)}, {999, qRgb(254, 255, 255)}, // band 49, the last visible one
    };
    for (const Probe &p : probes)
        for (int y : {0, 9})
            EXPECT_EQ(image.pixel(p.x, y), p.colour) << "x=" << p.x << " y=" << y;

    EXPECT_NE(image.pixel(20, 0), image.pixel(19, 0));
    EXPECT_NE(image.pixel(520, 0), image.pixel(519, 0));
}

TEST(Gradient, ColoursGrowTowardsWhite) {
    const QImage image = painted(1000, 1);
    for (int x = 1; x < 1000; ++x) {
        const QColor left = image.pixelColor(x - 1, 0), right = image.pixelColor(x, 0);
        EXPECT_GE(right.red(), left.red()) << x;
        EXPECT_GE(right.green(), left.green()) << x;
        EXPECT_GE(right.blue(), left.blue()) << x;
    }
}

TEST(Gradient, LastBandIsWhiteAndStartsAtFiftySteps) {
    const QImage image = painted(1020); // step 20.4 rounds to 20
    EXPECT_EQ(image.pixel(999, 5), qRgb(254, 255, 255));
    for (int x : {1000, 1019})
        EXPECT_EQ(image.pixel(x, 5), qRgb(255, 255, 255)) << x;
}

TEST(Gradient, StepRoundsHalvesToEven) {
    struct Case {
        int width;
        int step;
    };
    for (const Case c : {Case{1000, 20}, Case{1025, 20}, Case{1050, 21}, Case{1075, 22},
                         Case{30, 1}, Case{75, 2}, Case{40000, 800}}) {
        EXPECT_EQ(secondBandStart(painted(c.width, 2)), c.step) << "width " << c.width;
    }
}

TEST(Gradient, ZeroStepPaintsOnlyTheFirstColumn) {
    const QImage image = painted(25); // 0.5 rounds to 0: every band is column 0
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 0));
}

TEST(Gradient, TargetsWiderThanSixteenBitsAreDrawn) {
    const QImage image = painted(40000, 1);
    EXPECT_EQ(image.pixel(0, 0), qRgb(213, 231, 246));
    EXPECT_EQ(image.pixel(39999, 0), qRgb(254, 255, 255)); // band 49 at 39200..40000
}

} // namespace
