// The drag step: where the knob goes, what the player hears and what the label says for a
// pointer position; and the knob position that stands for a volume set from the keyboard.

#include "common/twips.h"
#include "playback/volumedrag.h"

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace qiravon;

namespace {

// Volume for a pointer k whole pixels right of the travel's start, k = 0..48.
constexpr int kVolumeAtPixel[] = {0,  2,  4,  6,  8,  10, 12, 14, 16, 18, 20, 22, 25,
                                  27, 29, 31, 33, 35, 37, 39, 41, 43, 45, 47, 50, 52,
                                  54, 56, 58, 60, 62, 64, 66, 68, 70, 72, 75, 77, 79,
                                  81, 83, 85, 87, 89, 91, 93, 95, 97, 100};

void verifyStep(const VolumeDrag& step, double knobLeft, int volume, double fillWidth)
{
    QCOMPARE(step.knobLeft, static_cast<float>(knobLeft));
    QCOMPARE(step.volume, volume);
    QCOMPARE(step.caption, QString::number(volume));
    QCOMPARE(step.fillWidth, fillWidth);
}

} // namespace

class VolumeDragTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholePixelsGiveTheKnownVolumes_data()
    {
        QTest::addColumn<int>("windowLeftPx");
        // A window on a monitor left of the primary one has a negative left edge.
        QTest::newRow("at the screen's edge") << 0;
        QTest::newRow("moved right") << 317;
        QTest::newRow("left monitor") << -1920;
    }

    void wholePixelsGiveTheKnownVolumes()
    {
        QFETCH(int, windowLeftPx);
        const double windowLeft = windowLeftPx * 15.0;
        const int travelStartPx = windowLeftPx + 24; // 360 twips
        for (int k = 0; k <= 48; ++k) {
            const VolumeDrag step = dragStep(travelStartPx + k, windowLeft);
            const double x = 360.0 + 15 * k;
            QVERIFY2(step.volume == kVolumeAtPixel[k], qPrintable(u"k = %1"_s.arg(k)));
            verifyStep(step, x, kVolumeAtPixel[k], k == 0 ? 60.0 : x - 360);
        }
    }

    void pointerLeftOfTheTrackRestsTheKnobAtSilence()
    {
        const double windowLeft = 300 * 15.0;
        for (const int px : {300 + 23, 300, 0, -5000, std::numeric_limits<int>::min()})
            verifyStep(dragStep(px, windowLeft), 360, 0, 60);
    }

    void pointerRightOfTheTrackRestsTheKnobAtFullVolume()
    {
        const double windowLeft = 300 * 15.0;
        // The fill then spans the travel only, narrower than the 960 the layout starts with;
        // a coordinate near the integer limit must clamp rather than wrap round.
        for (const int px : {300 + 72, 300 + 73, 300 + 5000, std::numeric_limits<int>::max()})
            verifyStep(dragStep(px, windowLeft), 1080, 100, 720);
    }

    void onlyTheTravelsEndGivesFullVolume()
    {
        // A window left edge off the 15-twip grid reaches positions between whole pixels.
        verifyStep(dragStep(72, 1.0), 1079, 99, 719);
        verifyStep(dragStep(24, -1.0), 361, 0, 1);
        verifyStep(dragStep(24, 0.5), 360, 0, 60);
    }

    void everyVolumeHasAKnobPosition()
    {
        for (int volume = 0; volume <= 100; ++volume) {
            const double x = knobLeftForVolume(volume);
            QVERIFY2(volumeAtKnob(x) == volume, qPrintable(QString::number(volume)));
            // The leftmost such position: a hair further left is the volume below.
            if (volume > 0)
                QCOMPARE(volumeAtKnob(std::nextafter(x, 0.0)), volume - 1);
        }
        QCOMPARE(knobLeftForVolume(-5), 360.0);
        QCOMPARE(knobLeftForVolume(250), 1080.0);
    }

    void knobPositionsMapToVolume()
    {
        QCOMPARE(volumeAtKnob(360), 0);
        QCOMPARE(volumeAtKnob(540), 25);
        QCOMPARE(volumeAtKnob(900), 75);
        QCOMPARE(volumeAtKnob(1079.9), 99);
        QCOMPARE(volumeAtKnob(1080), 100);
        QCOMPARE(volumeAtKnob(1500), 100);
        QCOMPARE(volumeAtKnob(-20), 0);
    }

    void aVolumeSetDirectlyLooksAsTheDragToIt()
    {
        // By key or from the desktop's media controls: the slider must look as a drag to that
        // volume leaves it.
        // Every volume stands for itself, out of range ones clamped.
        for (int volume = -5; volume <= 105; ++volume) {
            const VolumeDrag step = dragToVolume(volume);
            const int expected = std::clamp(volume, 0, 100);
            QVERIFY2(step.volume == expected, qPrintable(u"volume %1"_s.arg(volume)));
            QCOMPARE(step.caption, QString::number(expected));
        }
        // A volume a whole-pixel drag reaches puts the knob and the fill on that drag's pixels.
        for (int k = 0; k <= 48; ++k) {
            const VolumeDrag dragged = dragStep(24 + k, 0);
            const VolumeDrag set = dragToVolume(dragged.volume);
            QVERIFY2(twipsToPx(set.knobLeft) == twipsToPx(dragged.knobLeft) &&
                         twipsToPx(set.fillWidth) == twipsToPx(dragged.fillWidth),
                     qPrintable(u"k = %1"_s.arg(k)));
            QCOMPARE(set.caption, dragged.caption);
        }
    }
};

QTEST_GUILESS_MAIN(VolumeDragTest)
#include "tst_volumedrag.moc"
