// The desktop's media controls acting on a real main window with fake hosted parts: they play,
// stop and step through the list as its user would, and tell when what they show changes.

#include "app/form1.h"
#include "app/form1mediacontrols.h"
#include "common/twips.h"
#include "hosted/list/listcontrol.h"
#include "navigation/categoryactions.h"
#include "playback/stationplayback.h"
#include "playback/volumedrag.h"
#include "playback/volumeslider.h"
#include "support/fakehosted.h"
#include "support/testdata.h"
#include "widgets/mouselabel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

struct Fixture
{
    QTemporaryDir dir;
    FakeHosted hosted;
    FakeReporter reporter;
    std::unique_ptr<Form1> form;
    std::unique_ptr<Form1MediaControls> controls;

    Fixture()
    {
        writeRegionMap(path(u"map.cdb"_s));
        writeCatalogue(path(u"radiolist.cdb"_s), {u"#地区1"_s, u"一台|http://r/1|一"_s});
        writeCatalogue(path(u"fine.cdb"_s),
                       {u"甲|http://f/0|零"_s, u"乙|http://f/1|一"_s, u"丙|http://f/2|二"_s});
        writeCatalogue(path(u"NetRadio.cdb"_s), {u"网台|http://n/0|网"_s, u"网二|http://n/1|网"_s});
        writeCatalogue(path(u"forin.cdb"_s), {u"BBC|http://b/1|英语"_s});
        form = std::make_unique<Form1>(hosted, reporter, dir.path() + u'/');
        if (form->load())
            qFatal("the test catalogue did not load");
        // The rows reach the view on the next event-loop pass, long before a user acts.
        QCoreApplication::processEvents();
        controls = std::make_unique<Form1MediaControls>(*form);
    }

    [[nodiscard]] QString path(const QString& name) const { return dir.path() + u'/' + name; }
    [[nodiscard]] FakeMediaPlayer& player() const { return *hosted.player; }
    [[nodiscard]] QString lastUrl() const { return player().urls.value(player().urls.size() - 1); }
};

} // namespace

class Form1MediaControlsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nextAndPreviousStepThroughTheListAndStopAtItsEnds_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("expected"); // -1: nothing is started
        QTest::newRow("next") << 0 << true << 1;
        QTest::newRow("next from the last row") << 2 << true << -1;
        QTest::newRow("previous") << 2 << false << 1;
        QTest::newRow("previous from the first row") << 0 << false << -1;
    }

    void nextAndPreviousStepThroughTheListAndStopAtItsEnds()
    {
        QFETCH(int, row);
        QFETCH(bool, forward);
        QFETCH(int, expected);
        Fixture f;
        f.form->playback().activateRow(row);
        const qsizetype started = f.player().urls.size();
        QCOMPARE(forward ? f.controls->canGoNext() : f.controls->canGoPrevious(), expected >= 0);
        forward ? f.controls->next() : f.controls->previous();
        if (expected < 0) {
            QCOMPARE(f.player().urls.size(), started);
            QCOMPARE(f.form->PlayingIndex(), row);
            return;
        }
        // As a double-click: the row is marked, plays, and names itself.
        QCOMPARE(f.lastUrl(), u"http://f/%1"_s.arg(expected));
        QCOMPARE(f.form->PlayingIndex(), expected);
        QCOMPARE(f.form->ListView1->ItemSelected(expected), 1);
        QVERIFY(f.form->lblText->text().contains(f.controls->nowPlaying().station));
    }

    void stopEmptiesThePlayerAndPlayStartsTheMarkedRowAgain()
    {
        Fixture f;
        f.form->playback().activateRow(1);
        f.controls->stop();
        QCOMPARE(f.lastUrl(), QString());
        f.controls->play();
        QCOMPARE(f.lastUrl(), u"http://f/1"_s);
        QCOMPARE(f.controls->nowPlaying().serial, 2);
    }

    void playAfterARefillBringsBackTheStationHeardNotTheRowAtItsIndex()
    {
        Fixture f;
        f.form->playback().activateRow(1);
        f.controls->stop();
        f.form->navigation().netStationsClicked();
        QCOMPARE(f.form->ListView1->ItemText(1, 4), u"http://n/1"_s);
        f.controls->play();
        QCOMPARE(f.lastUrl(), u"http://f/1"_s);
    }

    void playOnAFreshStartPlaysTheFirstRow()
    {
        Fixture f;
        QVERIFY(f.controls->canPlay());
        f.controls->play();
        QCOMPARE(f.player().urls, QStringList{u"http://f/0"_s});
    }

    void reportsThePlayersStateAndTitle_data()
    {
        QTest::addColumn<PlaybackState>("state");
        QTest::addColumn<bool>("playing");
        QTest::newRow("stopped") << PlaybackState::Stopped << false;
        QTest::newRow("opening") << PlaybackState::Opening << true;
        QTest::newRow("playing") << PlaybackState::Playing << true;
        QTest::newRow("failed") << PlaybackState::Failed << false;
    }

    void reportsThePlayersStateAndTitle()
    {
        QFETCH(PlaybackState, state);
        QFETCH(bool, playing);
        Fixture f;
        QSignalSpy changed(f.controls.get(), &MediaControls::changed);
        f.form->playback().activateRow(2);
        f.player().setPlaybackState(state);
        f.player().setStreamTitle(u"歌名"_s);
        QCOMPARE(changed.size(), 3);
        QCOMPARE(f.controls->isPlaying(), playing);
        const NowPlaying now = f.controls->nowPlaying();
        QCOMPARE(now.station, u"丙"_s);
        QCOMPARE(now.address, u"http://f/2"_s);
        QCOMPARE(now.streamTitle, u"歌名"_s);
    }

    void volumeMovesTheSliderAsADragWouldAndADragTellsIt()
    {
        Fixture f;
        QSignalSpy changed(f.controls.get(), &MediaControls::changed);
        f.controls->setVolume(25);
        const VolumeDrag drag = dragToVolume(25);
        QCOMPARE(f.form->vol->text(), u"25"_s);
        QCOMPARE(f.form->HsrlBtn2->x(), twipsToPx(drag.knobLeft));
        QCOMPARE(f.form->HsrlBack4->width(), twipsToPx(drag.fillWidth));
        QCOMPARE(f.player().volume(), 25);
        QCOMPARE(changed.size(), 1);

        // The pointer at the travel's start: silence.
        f.form->volumeSlider().setCursorSource([&] { return QPoint(f.form->x(), 0); });
        f.form->volumeSlider().step();
        QCOMPARE(f.controls->volume(), 0);
        QCOMPARE(changed.size(), 2);
    }

    void raiseShowsTheHiddenWindowAndQuitClosesIt()
    {
        Fixture f;
        f.form->show();
        f.form->hide();
        f.controls->raise();
        QVERIFY(f.form->isVisible());
        f.controls->quit();
        QVERIFY(!f.form->isVisible());
    }
};

QTEST_MAIN(Form1MediaControlsTest)
#include "tst_form1mediacontrols.moc"
