// The rounded outline of the frameless window, in the window's own pixels at any display scale.

#include "app/roundedregion.h"

#include <QWidget>
#include <QtTest>

using namespace qiravon;

namespace {

// Pixels the outline leaves out of row `y`, at its left end.
int leftInset(const QRegion& region, int y, int width)
{
    for (int x = 0; x < width; ++x) {
        if (region.contains(QPoint(x, y)))
            return x;
    }
    return width;
}

} // namespace

class RoundedRegionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void coversTheWholeWindowButTheCorners()
    {
        const QRegion region = roundedRegion(QSize(742, 439), 12, 21);
        QCOMPARE(region.boundingRect(), QRect(0, 0, 742, 439));
        for (const QPoint corner : {QPoint(0, 0), QPoint(741, 0), QPoint(0, 438), QPoint(741, 438)})
            QVERIFY2(!region.contains(corner), qPrintable(QString::number(corner.x())));
        // The straight edges are whole, beyond the corner ellipse's 6 x 10.5 radii.
        QVERIFY(region.contains(QPoint(6, 0)) && region.contains(QPoint(735, 0)));
        QVERIFY(region.contains(QPoint(0, 11)) && region.contains(QPoint(0, 427)));
        QVERIFY(region.contains(QRect(6, 11, 730, 417)));
    }

    void cornersAreMirrorImages()
    {
        const QSize size(742, 439);
        const QRegion region = roundedRegion(size, 12, 21);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 7; ++x) {
                const bool in = region.contains(QPoint(x, y));
                QCOMPARE(region.contains(QPoint(741 - x, y)), in);
                QCOMPARE(region.contains(QPoint(x, 438 - y)), in);
                QCOMPARE(region.contains(QPoint(741 - x, 438 - y)), in);
            }
        }
    }

    void edgeFollowsTheEllipse()
    {
        // The inset shrinks row by row down to the straight edge, never jumping back: a
        // jagged or stepped-back edge shows as a notch against the skin.
        const QRegion region = roundedRegion(QSize(742, 439), 12, 21);
        int previous = 7;
        for (int y = 0; y <= 11; ++y) {
            const int inset = leftInset(region, y, 742);
            QVERIFY2(inset <= previous, qPrintable(QStringLiteral("row %1").arg(y)));
            previous = inset;
        }
        QVERIFY(leftInset(region, 0, 742) >= 3);
        QCOMPARE(leftInset(region, 10, 742), 0);
        // Each row is one run of pixels: the region has no holes.
        for (int y : {0, 3, 200})
            QCOMPARE(region.intersected(QRect(0, y, 742, 1)).rectCount(), 1);
    }

    void oversizedCornersAndEmptySizes()
    {
        QVERIFY(roundedRegion(QSize(0, 10), 12, 21).isEmpty());
        const QRegion tiny = roundedRegion(QSize(8, 8), 12, 21);
        QCOMPARE(tiny.boundingRect(), QRect(0, 0, 8, 8));
        QVERIFY(tiny.contains(QPoint(4, 4)));
    }

    void windowMaskMatchesItsSizeAtThisScale()
    {
        // Run once at scale 1 and once under QT_SCALE_FACTOR: the window's mask stays in its
        // own pixels, so it covers the window whatever the display's pixel density.
        QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window.setFixedSize(742, 439);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ApplyRoundedRegion(&window, 12, 21);
        QCOMPARE(window.mask(), roundedRegion(QSize(742, 439), 12, 21));
        QCOMPARE(window.mask().boundingRect(), window.rect());

        // Applying it again leaves the same region.
        ApplyRoundedRegion(&window, 12, 21);
        QCOMPARE(window.mask(), roundedRegion(QSize(742, 439), 12, 21));
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QVERIFY(window.devicePixelRatioF() > 1.0);
    }
};

QTEST_MAIN(RoundedRegionTest)
#include "tst_roundedregion.moc"
