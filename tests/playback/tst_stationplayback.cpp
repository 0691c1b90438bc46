// Row activation, the remembered row, the status poll and the browser's two lines, against a
// real list control and a fake player.

#include "catalogue/stationrecord.h"
#include "hosted/list/listcontrol.h"
#include "playback/stationplayback.h"
#include "support/fakehosted.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

struct Fixture
{
    QWidget window;
    ListControl* list = new ListControl(&window);
    QLabel* nowPlaying = new QLabel(u"没有播放的广播."_s, &window);
    QLabel* status = new QLabel(u"正在播放:128K/s"_s, &window);
    QTimer* poll = new QTimer(&window);
    FakeBrowser* browser = new FakeBrowser(&window);
    FakeMediaPlayer* player = new FakeMediaPlayer(&window);
    StationPlayback* playback;

    Fixture()
    {
        for (int column = 0; column < kStationColumnCount; ++column)
            list->AddColumn(QString(), QString(), 0, 60, true, true);
        StationPlaybackControls controls;
        controls.list = list;
        controls.nowPlaying = nowPlaying;
        controls.status = status;
        controls.statusPoll = poll;
        controls.browser = browser;
        playback = new StationPlayback(controls, *player, &window);
    }

    //! Empties the list and fills it again, as a category action does.
    void fill(const QList<StationRecord>& stations)
    {
        list->Clear();
        for (const StationRecord& s : stations)
            appendStation(*list, s);
    }

    void fillNumbered(int count, const QString& prefix = u"台"_s)
    {
        QList<StationRecord> stations;
        for (int i = 0; i < count; ++i)
            stations.append({u"类"_s, prefix + QString::number(i), u"述"_s,
                             u"http://s/%1/%2"_s.arg(prefix).arg(i)});
        fill(stations);
    }

    [[nodiscard]] QList<int> marked() const
    {
        QList<int> rows;
        for (int row = 0; row < list->ItemCount(); ++row) {
            if (list->ItemSelected(row) == 1)
                rows.append(row);
        }
        return rows;
    }

    void doubleClick(int row) { Q_EMIT list->ItemDblClick(row); }
    void select(int row)
    {
        // What the list does itself when the user clicks a row: it marks only that row.
        for (int i = 0; i < list->ItemCount(); ++i)
            list->SetItemSelected(i, i == row ? 1 : 0);
        Q_EMIT list->SelectionChange();
    }
};

} // namespace

class StationPlaybackTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void activationMarksPlaysAndNamesTheStation()
    {
        Fixture f;
        f.fill({{u"精品"_s, u"音乐台"_s, u"流行"_s, u"http://m/1"_s},
                {u"安徽"_s, u"安徽之声"_s, u"新闻"_s, u"http://a/1"_s}});
        QCOMPARE(f.playback->PlayingIndex(), 0);
        // Nothing is marked by the program before the first activation.
        f.list->SetItemSelected(0, 1);

        f.doubleClick(1);
        // The start value 0 is un-marked though that row was never played.
        QCOMPARE(f.marked(), QList<int>{1});
        QCOMPARE(f.playback->PlayingIndex(), 1);
        QCOMPARE(f.player->urls, QStringList{u"http://a/1"_s});
        QCOMPARE(f.nowPlaying->text(), u"安徽 - 安徽之声 - 新闻"_s);
    }

    void reactivatingThePlayingRowKeepsItMarkedAndRestartsIt()
    {
        Fixture f;
        f.fillNumbered(3);
        f.doubleClick(2);
        f.doubleClick(2);
        QCOMPARE(f.marked(), QList<int>{2});
        QCOMPARE(f.player->urls, QStringList(2, u"http://s/台/2"_s));
    }

    void aStaleIndexAfterARefillUnmarksWhateverRowNowHoldsIt()
    {
        Fixture f;
        f.fillNumbered(5, u"旧"_s);
        f.doubleClick(3);
        f.fillNumbered(5, u"新"_s);
        // Another station now sits on row 3 and carries a mark the user gave it.
        f.list->SetItemSelected(3, 1);
        QCOMPARE(f.playback->PlayingIndex(), 3);

        f.doubleClick(1);
        QCOMPARE(f.marked(), QList<int>{1});
        QCOMPARE(f.player->urls.last(), u"http://s/新/1"_s);
    }

    void aStaleIndexPastTheEndIsSkippedAndTheRestRuns()
    {
        Fixture f;
        f.fillNumbered(10, u"旧"_s);
        f.doubleClick(8);
        f.fillNumbered(2, u"新"_s);

        f.doubleClick(0);
        QCOMPARE(f.marked(), QList<int>{0});
        QCOMPARE(f.playback->PlayingIndex(), 0);
        QCOMPARE(f.player->urls.last(), u"http://s/新/0"_s);
        QCOMPARE(f.nowPlaying->text(), u"类 - 新0 - 述"_s);
    }

    void theSelectionSinceARefillIsWhatTheNextActivationUnmarks()
    {
        Fixture f;
        f.fillNumbered(5);
        f.doubleClick(4);
        f.fillNumbered(5, u"新"_s);
        f.select(2);
        QCOMPARE(f.playback->PlayingIndex(), 2);

        // The list holds one selection, so a row marked meanwhile loses its mark to the
        // activated one.
        f.list->SetItemSelected(4, 1);
        f.doubleClick(2);
        QCOMPARE(f.marked(), QList<int>{2});
        QCOMPARE(f.playback->PlayingIndex(), 2);
    }

    void theFirstSelectedRowIsRemembered()
    {
        Fixture f;
        f.fillNumbered(6);
        f.list->SetItemSelected(4, 1);
        f.list->SetItemSelected(2, 1);
        Q_EMIT f.list->SelectionChange();
        QCOMPARE(f.playback->PlayingIndex(), 2);

        // With nothing selected, or nothing listed, the remembered row stays.
        f.select(-1);
        QCOMPARE(f.playback->PlayingIndex(), 2);
        f.fill({});
        Q_EMIT f.list->SelectionChange();
        QCOMPARE(f.playback->PlayingIndex(), 2);
    }

    void anEmptyAddressStillMarksTheRowAndNamesIt()
    {
        Fixture f;
        f.fill({{u"网络"_s, u"无址台"_s, u"空"_s, QString()},
                {QString(), QString(), QString(), u"x"_s}});
        f.doubleClick(0);
        QCOMPARE(f.marked(), QList<int>{0});
        QCOMPARE(f.player->urls, QStringList{QString()});
        QCOMPARE(f.nowPlaying->text(), u"网络 - 无址台 - 空"_s);

        // Empty display columns leave just the two separators.
        f.doubleClick(1);
        QCOMPARE(f.nowPlaying->text(), u" -  - "_s);
    }

    void aRowTheListDoesNotHaveLeavesPlayerAndCaptionAlone()
    {
        Fixture f;
        f.fillNumbered(2);
        f.doubleClick(1);
        const QString caption = f.nowPlaying->text();

        f.doubleClick(7);
        // The un-mark still ran; the failed reads send nothing to the player.
        QCOMPARE(f.marked(), QList<int>{});
        QCOMPARE(f.playback->PlayingIndex(), 7);
        QCOMPARE(f.player->urls.size(), 1);
        QCOMPARE(f.nowPlaying->text(), caption);
    }

    void thePollShowsThePlayerStatusOrReady()
    {
        Fixture f;
        f.playback->pollStatus();
        QCOMPARE(f.status->text(), u"准备就绪!"_s);

        f.player->setStatus(u"正在连接…"_s);
        f.playback->pollStatus();
        QCOMPARE(f.status->text(), u"正在连接…"_s);

        // Each tick writes again, so a browser status shown in between is replaced.
        Q_EMIT f.browser->StatusTextChange(u"完成"_s);
        QCOMPARE(f.status->text(), u"完成"_s);
        f.playback->pollStatus();
        QCOMPARE(f.status->text(), u"正在连接…"_s);
    }

    void browserStatusIsShownAsItComesEvenEmpty()
    {
        Fixture f;
        Q_EMIT f.browser->StatusTextChange(u"<b>http://x/</b>"_s);
        QCOMPARE(f.status->text(), u"<b>http://x/</b>"_s);
        Q_EMIT f.browser->StatusTextChange(QString());
        QCOMPARE(f.status->text(), QString());
    }

    void browserTitleIsShownExceptTheBlankPagesAddress()
    {
        Fixture f;
        const QString initial = f.nowPlaying->text();
        Q_EMIT f.browser->TitleChange(u"http:///"_s);
        QCOMPARE(f.nowPlaying->text(), initial);

        for (const QString& title : {u"HTTP:///"_s, u"http:////"_s, u"http://"_s, u"首页"_s}) {
            Q_EMIT f.browser->TitleChange(title);
            QCOMPARE(f.nowPlaying->text(), title);
        }
        Q_EMIT f.browser->TitleChange(u"http:///"_s);
        QCOMPARE(f.nowPlaying->text(), u"首页"_s);
    }
};

QTEST_MAIN(StationPlaybackTest)
#include "tst_stationplayback.moc"
