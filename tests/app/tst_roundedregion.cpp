// The rounded outline of the frameless window: its pixels, and what reaches the screen at any
// display scale.

#include "app/roundedregion.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QtTest>

using namespace qiravon;

using namespace Qt::StringLiterals;

namespace {

// The window's colour, which the desktop behind it never has.
const QColor kFace(30, 160, 90);

// The window's place on the screen as the screen shows it, in the screen's pixels.
QImage onScreen(const QWidget& window)
{
    const QRect area = window.geometry();
    return window.screen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

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

    void theScreenShowsTheOutlineInItsOwnPixels()
    {
        // Run once at scale 1 and once under QT_SCALE_FACTOR=2. What counts is what reaches
        // the screen: each pixel of the outline must cover the screen's pixels it stands
        // for, at the window's corners, not at corners of twice or half its size.
        if (QGuiApplication::platformName() != u"xcb"_s)
            QSKIP("needs an X server, which shapes the window on the screen");
        const QSize size(200, 120);
        QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window.setFixedSize(size);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, kFace);
        window.setPalette(pal);
        window.setAutoFillBackground(true);
        window.move(40, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ApplyRoundedRegion(&window, 12, 21);

        const int scale = qRound(window.devicePixelRatioF());
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(scale, 2);
        QImage shown;
        QTRY_VERIFY((shown = onScreen(window)).pixel(shown.rect().center()) == kFace.rgb());
        QCOMPARE(shown.size(), size * scale);

        const QRegion outline = roundedRegion(size, 12, 21);
        // The corner boxes, a little larger than the corners, in the screen's pixels.
        const QSize box = QSize(9, 13) * scale;
        const QPoint far(shown.width() - box.width(), shown.height() - box.height());
        for (const QPoint origin : {QPoint(0, 0), QPoint(far.x(), 0), QPoint(0, far.y()), far}) {
            for (int y = origin.y(); y < origin.y() + box.height(); ++y) {
                for (int x = origin.x(); x < origin.x() + box.width(); ++x) {
                    const bool in = outline.contains(QPoint(x / scale, y / scale));
                    QVERIFY2((shown.pixel(x, y) == kFace.rgb()) == in,
                             qPrintable(u"screen pixel %1,%2 should be %3"_s.arg(x).arg(y).arg(
                                 in ? u"the window's"_s : u"the desktop's"_s)));
                }
            }
        }
        // The corner pixels themselves are always cut; the straight edges are whole.
        QVERIFY(shown.pixel(0, 0) != kFace.rgb());
        QVERIFY(shown.pixel(shown.width() - 1, shown.height() - 1) != kFace.rgb());
        QVERIFY(shown.pixel(shown.width() / 2, 0) == kFace.rgb());
        QVERIFY(shown.pixel(0, shown.height() / 2) == kFace.rgb());
    }
};

QTEST_MAIN(RoundedRegionTest)
#include "tst_roundedregion.moc"
