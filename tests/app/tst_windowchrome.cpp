// The frameless main window: its caption buttons, dragging it, closing and minimising it,
// and the outline it takes on activation.

#include "app/captionbutton.h"
#include "app/form1.h"
#include "app/roundedregion.h"
#include "app/windowchrome.h"
#include "support/fakehosted.h"
#include "support/testdata.h"
#include "widgets/linklabel.h"
#include "widgets/mouselabel.h"

#include <QCloseEvent>
#include <QtTest>
#include <qtestspontaneevent.h>

using namespace qiravon;
using namespace qiravon::test;

Q_DECLARE_METATYPE(qiravon::CaptionPicture)
Q_DECLARE_METATYPE(qiravon::CaptionEvent)

namespace {

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               QPoint global = {})
{
    // Moves carry the buttons held; presses and releases the button that changed.
    const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : button;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, global.isNull() ? target->mapToGlobal(pos) : global, changed, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

struct Window
{
    FakeHosted hosted;
    FakeReporter reporter;
    Form1 form{hosted, reporter, shippedDataDir()};
    QList<Qt::MouseButton> systemMoves;

    Window()
    {
        // The window manager's move is not there to watch; the window follows the pointer
        // by its own moves instead, as it does on a desktop without one.
        form.chrome().drag().setSystemMove([this](QWidget&) {
            systemMoves.append(Qt::LeftButton);
            return systemMoveWorks;
        });
        form.move(100, 100);
        form.show();
    }

    // A point of the window where no control lies.
    QPoint background() const
    {
        for (int y = 5; y < form.height(); y += 5) {
            for (int x = 5; x < form.width(); x += 5) {
                if (!form.childAt(x, y))
                    return {x, y};
            }
        }
        return {};
    }

    qint64 shown(MouseLabel* button) const { return button->pictureHandle(); }

    bool systemMoveWorks = false;
};

} // namespace

class WindowChromeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionStateTable_data()
    {
        QTest::addColumn<CaptionPicture>("from");
        QTest::addColumn<CaptionEvent>("event");
        QTest::addColumn<CaptionPicture>("to");
        using P = CaptionPicture;
        using E = CaptionEvent;
        for (P from : {P::Normal, P::Hover, P::Pressed}) {
            const QByteArray name = QByteArray::number(static_cast<int>(from));
            QTest::newRow(("move on button from " + name).constData())
                << from << E::MoveOnButton << P::Hover;
            QTest::newRow(("press from " + name).constData())
                << from << E::PressOnButton << P::Pressed;
            QTest::newRow(("background move from " + name).constData())
                << from << E::MoveOnBackground << P::Normal;
            QTest::newRow(("release from " + name).constData()) << from << E::Release << from;
            QTest::newRow(("leave from " + name).constData()) << from << E::Leave << from;
        }
    }

    void captionStateTable()
    {
        QFETCH(CaptionPicture, from);
        QFETCH(CaptionEvent, event);
        QFETCH(CaptionPicture, to);
        QCOMPARE(nextCaptionPicture(from, event), to);
    }

    void captionButtonsCopyTheHoldersPictures()
    {
        Window w;
        Form1& f = w.form;
        QCOMPARE(w.shown(f.Btn_End), f.ends->pictureHandle());

        sendMouse(f.Btn_End, QEvent::MouseMove, {3, 3}, Qt::NoButton);
        QCOMPARE(w.shown(f.Btn_End), f.endpoint->pictureHandle());
        sendMouse(f.btn_Mini, QEvent::MouseMove, {3, 3}, Qt::NoButton);
        QCOMPARE(w.shown(f.btn_Mini), f.miniPoint->pictureHandle());
        // Leaving one button for the other keeps its hover picture.
        QCOMPARE(w.shown(f.Btn_End), f.endpoint->pictureHandle());

        sendMouse(f.btn_Mini, QEvent::MouseButtonPress, {3, 3}, Qt::RightButton);
        QCOMPARE(w.shown(f.btn_Mini), f.miniDown->pictureHandle());

        // The bare surface puts both back.
        sendMouse(&f, QEvent::MouseMove, w.background(), Qt::NoButton);
        QCOMPARE(w.shown(f.Btn_End), f.ends->pictureHandle());
        QCOMPARE(w.shown(f.btn_Mini), f.mini->pictureHandle());
    }

    void pressingCloseAndMovingOffDoesNotClose()
    {
        Window w;
        Form1& f = w.form;
        sendMouse(f.Btn_End, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
        QCOMPARE(w.shown(f.Btn_End), f.endDown->pictureHandle());
        // While held, the button gets the moves wherever the pointer is.
        sendMouse(f.Btn_End, QEvent::MouseMove, {-40, 60}, Qt::LeftButton);
        QCOMPARE(w.shown(f.Btn_End), f.endpoint->pictureHandle());
        sendMouse(f.Btn_End, QEvent::MouseButtonRelease, {-40, 60}, Qt::LeftButton);
        QVERIFY(f.isVisible());
        QCOMPARE(w.shown(f.Btn_End), f.endpoint->pictureHandle());
        sendMouse(&f, QEvent::MouseMove, w.background(), Qt::NoButton);
        QCOMPARE(w.shown(f.Btn_End), f.ends->pictureHandle());
    }

    void closeHidesAndKeepsThePressedPicture()
    {
        Window w;
        Form1& f = w.form;
        sendMouse(f.Btn_End, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
        sendMouse(f.Btn_End, QEvent::MouseButtonRelease, {3, 3}, Qt::LeftButton);
        QVERIFY(!f.isVisible());
        QVERIFY(!(f.windowState() & Qt::WindowMinimized));
        f.show();
        QCOMPARE(w.shown(f.Btn_End), f.endDown->pictureHandle());
    }

    void closeMinimisesWhenThereIsNoTray()
    {
        // Hidden without a tray icon to come back from, the window could never be reached.
        Window w;
        Form1& f = w.form;
        w.hosted.tray->available = false;
        sendMouse(f.Btn_End, QEvent::MouseButtonPress, {3, 3}, Qt::LeftButton);
        sendMouse(f.Btn_End, QEvent::MouseButtonRelease, {3, 3}, Qt::LeftButton);
        QVERIFY(f.isVisible());
        QVERIFY(f.windowState() & Qt::WindowMinimized);
    }

    void minimiseKeepsTheWindowVisible()
    {
        Window w;
        Form1& f = w.form;
        sendMouse(f.btn_Mini, QEvent::MouseButtonPress, {3, 3}, Qt::MiddleButton);
        sendMouse(f.btn_Mini, QEvent::MouseButtonRelease, {3, 3}, Qt::MiddleButton);
        QVERIFY(f.isVisible());
        QVERIFY(f.windowState() & Qt::WindowMinimized);
        QCOMPARE(w.shown(f.btn_Mini), f.miniDown->pictureHandle());
    }

    void dragByBackgroundWithAnyButton_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }

    void dragByBackgroundWithAnyButton()
    {
        QFETCH(Qt::MouseButton, button);
        Window w;
        Form1& f = w.form;
        const QPoint at = w.background();
        const QPoint start = f.pos();
        const QPoint grab = start + at;
        sendMouse(&f, QEvent::MouseButtonPress, at, button, grab);
        sendMouse(&f, QEvent::MouseMove, at, button, grab + QPoint(30, -20));
        QCOMPARE(f.pos(), start + QPoint(30, -20));
        sendMouse(&f, QEvent::MouseMove, at, button, grab + QPoint(50, 40));
        QCOMPARE(f.pos(), start + QPoint(50, 40));
        sendMouse(&f, QEvent::MouseButtonRelease, at, button, grab + QPoint(50, 40));
        sendMouse(&f, QEvent::MouseMove, at, Qt::NoButton, grab + QPoint(90, 90));
        QCOMPARE(f.pos(), start + QPoint(50, 40));
    }

    void windowManagerMovesOnLeftPress()
    {
        Window w;
        w.systemMoveWorks = true;
        Form1& f = w.form;
        const QPoint at = w.background();
        const QPoint start = f.pos();
        sendMouse(&f, QEvent::MouseButtonPress, at, Qt::LeftButton, start + at);
        QCOMPARE(w.systemMoves.size(), 1);
        QVERIFY(!f.chrome().drag().isFollowing());
        // The window manager tells only the left button is held; others stay with us.
        sendMouse(&f, QEvent::MouseButtonPress, at, Qt::RightButton, start + at);
        QCOMPARE(w.systemMoves.size(), 1);
        QVERIFY(f.chrome().drag().isFollowing());
    }

    void dragByTitleButNotByOtherLabels()
    {
        Window w;
        Form1& f = w.form;
        const QPoint start = f.pos();
        const QPoint onTitle(5, 5);
        const QPoint grab = f.Label1->mapToGlobal(onTitle);
        sendMouse(f.Label1, QEvent::MouseButtonPress, onTitle, Qt::RightButton, grab);
        sendMouse(f.Label1, QEvent::MouseMove, onTitle, Qt::RightButton, grab + QPoint(12, 7));
        sendMouse(f.Label1, QEvent::MouseButtonRelease, onTitle, Qt::RightButton,
                  grab + QPoint(12, 7));
        QCOMPARE(f.pos(), start + QPoint(12, 7));

        const QPoint moved = f.pos();
        for (QWidget* other : {static_cast<QWidget*>(f.lblStatus), static_cast<QWidget*>(f.Image1),
                               static_cast<QWidget*>(f.Links)}) {
            const QPoint g = other->mapToGlobal(QPoint(2, 2));
            sendMouse(other, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, g);
            sendMouse(other, QEvent::MouseMove, {2, 2}, Qt::LeftButton, g + QPoint(40, 40));
            sendMouse(other, QEvent::MouseButtonRelease, {2, 2}, Qt::LeftButton,
                      g + QPoint(40, 40));
            QCOMPARE(f.pos(), moved);
        }
        QVERIFY(w.systemMoves.isEmpty());
    }

    void closeRequests_data()
    {
        QTest::addColumn<bool>("fromWindowSystem");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("minimised");
        // Alt+F4, a task bar's Close: what the close button does.
        QTest::newRow("window system, tray") << true << true << false << false;
        QTest::newRow("window system, no tray") << true << false << true << true;
        // The program's own unload closes for real.
        QTest::newRow("program, tray") << false << true << false << false;
        QTest::newRow("program, no tray") << false << false << false << false;
    }

    void closeRequests()
    {
        QFETCH(bool, fromWindowSystem);
        QFETCH(bool, tray);
        QFETCH(bool, shown);
        QFETCH(bool, minimised);
        Window w;
        Form1& f = w.form;
        w.hosted.tray->available = tray;
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        if (fromWindowSystem) {
            // As the window system delivers it: spontaneous, straight to the window.
            QCloseEvent request;
            QSpontaneKeyEvent::setSpontaneous(&request);
            QApplication::instance()->notify(&f, &request);
            QVERIFY(!request.isAccepted());
        } else {
            QVERIFY(f.close());
        }
        QCOMPARE(f.isVisible(), shown);
        QCOMPARE(bool(f.windowState() & Qt::WindowMinimized), minimised);
    }

    void aDragWhoseReleaseWentElsewhereEnds_data()
    {
        QTest::addColumn<bool>("deactivated");
        QTest::newRow("a move without the button") << false;
        QTest::newRow("another window took the focus") << true;
    }

    void aDragWhoseReleaseWentElsewhereEnds()
    {
        QFETCH(bool, deactivated);
        Window w;
        Form1& f = w.form;
        const QPoint at = w.background();
        const QPoint start = f.pos();
        const QPoint grab = start + at;
        sendMouse(&f, QEvent::MouseButtonPress, at, Qt::RightButton, grab);
        sendMouse(&f, QEvent::MouseMove, at, Qt::RightButton, grab + QPoint(10, 10));
        QCOMPARE(f.pos(), start + QPoint(10, 10));

        if (deactivated) {
            QEvent deactivate(QEvent::WindowDeactivate);
            QCoreApplication::sendEvent(&f, &deactivate);
        } else {
            sendMouse(&f, QEvent::MouseMove, at, Qt::NoButton, grab + QPoint(60, 60));
        }
        QVERIFY(!f.chrome().drag().isFollowing());
        // Not even a button held again brings the drag back: it takes a new press.
        sendMouse(&f, QEvent::MouseMove, at, Qt::RightButton, grab + QPoint(90, 90));
        QCOMPARE(f.pos(), start + QPoint(10, 10));
    }

    void activationRoundsTheWindowAndShowsTheIcon()
    {
        Window w;
        Form1& f = w.form;
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.mask(), roundedRegion(f.size(), 12, 21));
        QCOMPARE(f.mask().boundingRect(), QRect(0, 0, 742, 439));
        QVERIFY(w.hosted.tray->intray());

        // Coming back from the tray, each activation puts the outline back and keeps the one
        // icon. The outline is taken away first, or a missed activation would go unseen.
        for (int round = 0; round < 2; ++round) {
            f.hide();
            f.show();
            f.clearMask();
            QEvent activation(QEvent::WindowActivate);
            QCoreApplication::sendEvent(&f, &activation);
            QCOMPARE(f.mask(), roundedRegion(f.size(), 12, 21));
            QVERIFY(w.hosted.tray->intray());
        }
        QVERIFY(!w.hosted.tray->intrayWrites.contains(false));
    }
};

QTEST_MAIN(WindowChromeTest)
#include "tst_windowchrome.moc"
