// The main window's playback wiring: a double-click or Return plays, the poll runs from
// creation, and the volume slider follows an injected pointer or the keyboard.

#include "app/form1.h"
#include "hosted/imediaplayer.h"
#include "hosted/list/listcontrol.h"
#include "playback/volumeslider.h"
#include "support/fakehosted.h"
#include "support/testdata.h"
#include "widgets/mouselabel.h"

#include <QAccessible>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
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
    QPoint pointer;
    Qt::MouseButtons buttons = Qt::RightButton; // held, as the window system tells

    Fixture()
    {
        writeRegionMap(path(u"map.cdb"_s));
        writeCatalogue(path(u"radiolist.cdb"_s), {u"#地区1"_s, u"一台|http://r/1|一"_s});
        writeCatalogue(path(u"fine.cdb"_s),
                       {u"精选一|http://f/1|第一"_s, u"精选二|http://f/2|第二"_s});
        writeCatalogue(path(u"NetRadio.cdb"_s), {u"网台|http://n/1|网"_s});
        writeCatalogue(path(u"forin.cdb"_s), {u"BBC|http://b/1|英语"_s});
        form = std::make_unique<Form1>(hosted, reporter, dir.path() + u'/');
        form->volumeSlider().setCursorSource([this] { return pointer; });
        form->volumeSlider().setButtonsSource([this] { return buttons; });
    }

    [[nodiscard]] QString path(const QString& name) const { return dir.path() + u'/' + name; }
    [[nodiscard]] IMediaPlayer& player() const { return *form->wmp; }

    //! Puts the pointer `px` pixels right of the window's left edge, far below the slider.
    void pointAt(int px) { pointer = QPoint(form->x() + px, form->y() + 5000); }
};

} // namespace

class Form1PlaybackTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void playerStartsAtTheVolumeTheSliderShows()
    {
        Fixture f;
        QCOMPARE(f.form->vol->text(), u"100"_s);
        QCOMPARE(f.form->HsrlBtn2->x(), 72);
        QCOMPARE(f.player().volume(), 100);
    }

    void doubleClickingARowPlaysIt()
    {
        Fixture f;
        QVERIFY(!f.form->load());
        f.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));

        QTableView* view = f.form->ListView1->view();
        const QPoint cell = view->visualRect(view->model()->index(1, 2)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell);

        QCOMPARE(f.player().URL(), u"http://f/2"_s);
        QCOMPARE(f.form->PlayingIndex(), 1);
        QCOMPARE(f.form->ListView1->ItemSelected(1), 1);
        QCOMPARE(f.form->lblText->text(), u"精品 - 精选二 - 第二"_s);
    }

    void returnPlaysTheRowTheKeyboardReached()
    {
        Fixture f;
        QVERIFY(!f.form->load());
        f.form->show();
        QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
        QTableView* view = f.form->ListView1->view();
        QCOMPARE(QApplication::focusWidget(), view);

        QTest::keyClick(view, Qt::Key_End);
        QCOMPARE(f.form->PlayingIndex(), 1);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(f.player().URL(), u"http://f/2"_s);
        QCOMPARE(f.form->lblText->text(), u"精品 - 精选二 - 第二"_s);
        QTest::keyClick(view, Qt::Key_Up);
        QCOMPARE(f.form->PlayingIndex(), 0);
        QCOMPARE(f.form->ListView1->ItemSelected(1), 0);
    }

    void keysMoveTheVolume_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("volume");
        // The slider starts at 100.
        QTest::newRow("left") << QList<int>{Qt::Key_Left} << 95;
        QTest::newRow("left twice") << QList<int>{Qt::Key_Left, Qt::Key_Left} << 90;
        QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << 80;
        QTest::newRow("right stops at 100") << QList<int>{Qt::Key_Right} << 100;
        QTest::newRow("page up stops at 100") << QList<int>{Qt::Key_PageUp} << 100;
        QTest::newRow("home") << QList<int>{Qt::Key_Home} << 0;
        QTest::newRow("left stops at 0") << QList<int>{Qt::Key_Home, Qt::Key_Left} << 0;
        QTest::newRow("up from 0") << QList<int>{Qt::Key_Home, Qt::Key_Up, Qt::Key_Right} << 10;
        QTest::newRow("page up from 0") << QList<int>{Qt::Key_Home, Qt::Key_PageUp} << 20;
        QTest::newRow("end") << QList<int>{Qt::Key_PageDown, Qt::Key_End} << 100;
    }

    void keysMoveTheVolume()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, volume);
        Fixture f;
        for (const int key : keys)
            QTest::keyClick(f.form->HsrlBtn2, Qt::Key(key));
        QCOMPARE(f.player().volume(), volume);
        QCOMPARE(f.form->vol->text(), QString::number(volume));
        QCOMPARE(f.form->vol->size(), f.form->vol->sizeHint());
        QVERIFY(!f.form->Timer1->isActive());
    }

    void keyboardAndDragAgree()
    {
        Fixture f;
        Form1& form = *f.form;
        form.move(317, 40);
        // Every volume the keys reach, against a drag to the pixel that gives it, where a
        // whole-pixel drag can.
        QTest::keyClick(form.HsrlBtn2, Qt::Key_Home);
        int compared = 0;
        for (int volume = 0; volume <= 100; volume += 5) {
            const QRect knob = form.HsrlBtn2->geometry();
            const QRect fill = form.HsrlBack4->geometry();
            for (int px = 24; px <= 72; ++px) {
                f.pointAt(px);
                form.volumeSlider().step();
                if (f.player().volume() != volume)
                    continue;
                QCOMPARE(form.HsrlBtn2->geometry(), knob);
                QCOMPARE(form.HsrlBack4->geometry(), fill);
                QCOMPARE(form.vol->text(), QString::number(volume));
                ++compared;
            }
            form.volumeSlider().setVolume(volume);
            QTest::keyClick(form.HsrlBtn2, Qt::Key_Right);
        }
        // 0, 10, 20, 25, 35, 45, 50, 60, 70, 75, 85, 95 and 100.
        QCOMPARE(compared, 13);
    }

    void theKnobIsASliderForAssistiveTechnologies()
    {
        Fixture f;
        QAccessibleInterface* knob = QAccessible::queryAccessibleInterface(f.form->HsrlBtn2);
        QVERIFY(knob);
        QCOMPARE(knob->role(), QAccessible::Slider);
        QCOMPARE(knob->text(QAccessible::Name), u"音量"_s);
        QAccessibleValueInterface* value = knob->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), 100);
        QCOMPARE(value->minimumValue().toInt(), 0);
        QCOMPARE(value->maximumValue().toInt(), 100);

        QTest::keyClick(f.form->HsrlBtn2, Qt::Key_PageDown);
        QCOMPARE(value->currentValue().toInt(), 80);
        value->setCurrentValue(25);
        QCOMPARE(f.player().volume(), 25);
        QCOMPARE(f.form->vol->text(), u"25"_s);
        QCOMPARE(f.form->HsrlBtn2->x(), 36);
    }

    void statusPollRunsFromCreation()
    {
        Fixture f;
        QCOMPARE(f.form->lblStatus->text(), u"正在播放:128K/s"_s);
        QTRY_COMPARE(f.form->lblStatus->text(), u"准备就绪!"_s);
        f.hosted.player->setStatus(u"正在缓冲 40%"_s);
        QTRY_COMPARE(f.form->lblStatus->text(), u"正在缓冲 40%"_s);
    }

    void theWindowsBrowserFeedsBothLines()
    {
        Fixture f;
        f.form->Timer2->stop();
        Q_EMIT f.form->web->StatusTextChange(u"正在打开网页"_s);
        Q_EMIT f.form->web->TitleChange(u"电台首页"_s);
        QCOMPARE(f.form->lblStatus->text(), u"正在打开网页"_s);
        QCOMPARE(f.form->lblText->text(), u"电台首页"_s);
    }

    void draggingTheKnobFollowsThePointerUntilRelease()
    {
        Fixture f;
        f.form->move(317, 40);
        Form1& form = *f.form;
        QVERIFY(!form.Timer1->isActive());

        f.pointAt(24 + 12);
        QTest::mousePress(form.HsrlBtn2, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 5));
        QVERIFY(form.Timer1->isActive());
        QTRY_COMPARE(f.player().volume(), 25);
        QCOMPARE(form.HsrlBtn2->x(), 36);
        QCOMPARE(form.HsrlBack4->x(), 24);
        QCOMPARE(form.HsrlBack4->width(), 12);
        QCOMPARE(form.vol->text(), u"25"_s);
        QCOMPARE(form.vol->size(), form.vol->sizeHint());

        f.pointAt(-400);
        QTRY_COMPARE(f.player().volume(), 0);
        QCOMPARE(form.HsrlBtn2->x(), 24);
        QCOMPARE(form.HsrlBack4->width(), 4);
        QCOMPARE(form.vol->text(), u"0"_s);

        // The pointer that gave 25 above gives 75 once the window has moved 24 pixels left:
        // positions are measured from where the window is now.
        f.pointer = QPoint(317 + 36, 0);
        form.move(317 - 24, 40);
        QTRY_COMPARE(f.player().volume(), 75);
        QCOMPARE(form.HsrlBtn2->x(), 60);
        QCOMPARE(form.HsrlBack4->width(), 36);

        // The release comes to the knob wherever the pointer has gone.
        QTest::mouseRelease(form.HsrlBtn2, Qt::RightButton, {}, QPoint(-300, 900));
        QVERIFY(!form.Timer1->isActive());
        f.pointAt(24 + 36);
        QTest::qWait(30);
        QCOMPARE(f.player().volume(), 75);
        QCOMPARE(form.vol->text(), u"75"_s);
    }

    void aDragWhoseReleaseWentElsewhereEnds_data()
    {
        QTest::addColumn<bool>("popup");
        // The release went to another program, or to a popup that took the mouse meanwhile.
        QTest::newRow("button no longer held") << false;
        QTest::newRow("a popup has the mouse") << true;
    }

    void aDragWhoseReleaseWentElsewhereEnds()
    {
        QFETCH(bool, popup);
        Fixture f;
        Form1& form = *f.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        f.pointAt(24 + 12);
        QTest::mousePress(form.HsrlBtn2, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_COMPARE(f.player().volume(), 25);

        QMenu menu;
        if (popup) {
            menu.addAction(u"其他"_s);
            menu.popup(form.mapToGlobal(QPoint(300, 200)));
            QTRY_VERIFY(QApplication::activePopupWidget());
        } else {
            f.buttons = Qt::NoButton;
        }
        QTRY_VERIFY(!form.Timer1->isActive());
        // The knob no longer follows the bare pointer.
        f.pointAt(24 + 36);
        QTest::qWait(20);
        QCOMPARE(f.player().volume(), 25);
        QCOMPARE(form.HsrlBtn2->x(), 36);
    }
};

QTEST_MAIN(Form1PlaybackTest)
#include "tst_form1playback.moc"
