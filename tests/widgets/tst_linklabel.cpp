// The link label as a user meets it: colours under the pointer and the buttons, the shared
// leave poll, what a click does in each mode, its size rule and its cursor, and the same
// link for the keyboard and for assistive technologies.

#include "common/twips.h"
#include "resources/resources.h"
#include "widgets/linklabel.h"

#include <QAccessible>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;

namespace {

constexpr BgrColor kNor = 13369344;
constexpr BgrColor kMov = 255;
constexpr BgrColor kDown = 128;

//! A window holding one link, counting the presses that reach the window itself.
class Holder : public QWidget
{
public:
    Holder()
    {
        resize(300, 120);
        link = new LinkLabel(this);
        link->move(20, 20);
        other = new QWidget(this);
        other->setGeometry(200, 20, 50, 50);
        other->setFocusPolicy(Qt::StrongFocus);
    }
    LinkLabel* link;
    QWidget* other;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

QPoint onText(const LinkLabel& link)
{
    return link.lbllink()->rect().center();
}

// The strip of background below the text: inside the control, outside the text.
QPoint onStrip(const LinkLabel& link)
{
    return QPoint(link.lbllink()->width() / 2, link.lbllink()->height());
}

void hover(LinkLabel& link, QPoint pos)
{
    QCursor::setPos(link.mapToGlobal(pos));
    QCoreApplication::processEvents();
}

void press(LinkLabel& link, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(link.lbllink(), button, {}, pos);
}

void release(LinkLabel& link, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseRelease(link.lbllink(), button, {}, pos);
}

QStringList opened;

} // namespace

class LinkLabelTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<Holder> m_holder;
    LinkLabel::UrlOpener m_previousOpener;

    LinkLabel& link() { return *m_holder->link; }

private Q_SLOTS:
    void initTestCase()
    {
        m_previousOpener = LinkLabel::setUrlOpener([](const QUrl& url) {
            opened << url.toString();
            return true;
        });
    }
    void cleanupTestCase() { LinkLabel::setUrlOpener(m_previousOpener); }

    void init()
    {
        opened.clear();
        QCursor::setPos(0, 0);
        m_holder = std::make_unique<Holder>();
        m_holder->move(100, 100);
        m_holder->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_holder.get()));
    }
    void cleanup() { m_holder.reset(); }

    void startsAtRestWithDefaults()
    {
        LinkLabel fresh;
        QCOMPARE(fresh.GetCaption(), u"LinkLabel"_s);
        QCOMPARE(fresh.textColor(), kNor);
        QVERIFY(fresh.shell());
        QVERIFY(fresh.url().isEmpty());
        QVERIFY(fresh.lbllink()->font().underline());
        QCOMPARE(fresh.lbllink()->pos(), QPoint(0, 0));
        QCOMPARE(fresh.palette().color(QPalette::Window), QColor(255, 255, 255));
    }

    void colourFollowsPointerAndButtonsThenRests()
    {
        hover(link(), onText(link()));
        QCOMPARE(link().textColor(), kMov);
        press(link(), onText(link()));
        QCOMPARE(link().textColor(), kDown);
        release(link(), onText(link()));
        QCOMPARE(link().textColor(), kDown); // a release changes nothing
        hover(link(), onText(link()) + QPoint(1, 0));
        QCOMPARE(link().textColor(), kMov);

        // Onto a sibling control, then off the window altogether.
        hover(link(), m_holder->other->geometry().center() - link().pos());
        QTRY_COMPARE_WITH_TIMEOUT(link().textColor(), kNor, 300);
        press(link(), onText(link()));
        release(link(), onText(link()));
        QCursor::setPos(0, 0);
        QTRY_COMPARE_WITH_TIMEOUT(link().textColor(), kNor, 300);
        // Everything at rest: the shared poll sleeps.
        QTRY_VERIFY_WITH_TIMEOUT(!LinkLabel::isLeavePollRunning(), 300);
    }

    void colourSettersTakeEffectWhenTheirRulesSay()
    {
        hover(link(), onText(link()));
        link().SetMovColor(bgr(0, 128, 0));
        link().SetDownColor(bgr(0, 0, 0));
        QCOMPARE(link().textColor(), kMov); // not until the next move or press
        link().SetNorColor(bgr(10, 20, 30));
        QCOMPARE(link().textColor(), bgr(10, 20, 30)); // at once, though hovered
        hover(link(), onText(link()) + QPoint(1, 0));
        QCOMPARE(link().textColor(), bgr(0, 128, 0));
        press(link(), onText(link()));
        QCOMPARE(link().textColor(), bgr(0, 0, 0));
        release(link(), onText(link()));
        QCursor::setPos(0, 0);
        QTRY_COMPARE_WITH_TIMEOUT(link().textColor(), bgr(10, 20, 30), 300);
    }

    void textAndStripCountAsTheControl()
    {
        hover(link(), onText(link()));
        QTest::qWait(250); // two poll ticks over the text
        QCOMPARE(link().textColor(), kMov);
        hover(link(), onStrip(link()));
        QTest::qWait(250); // two poll ticks
        QCOMPARE(link().textColor(), kMov);
        QTest::mouseClick(&link(), Qt::LeftButton, {}, onStrip(link()));
        QCOMPARE(link().textColor(), kMov); // only the text takes presses
    }

    void clickDependsOnMode_data()
    {
        QTest::addColumn<bool>("shell");
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("onStrip");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("opens");

        const QString home = u"http://example.org/"_s;
        QTest::newRow("fresh control: nothing")
            << true << QString() << false << Qt::LeftButton << 0 << QStringList();
        QTest::newRow("event mode raises Click")
            << false << QString() << false << Qt::LeftButton << 1 << QStringList();
        QTest::newRow("event mode ignores url")
            << false << home << false << Qt::LeftButton << 1 << QStringList();
        QTest::newRow("address mode opens")
            << true << home << false << Qt::LeftButton << 0 << QStringList{home};
        QTest::newRow("strip: nothing")
            << false << QString() << true << Qt::LeftButton << 0 << QStringList();
        QTest::newRow("strip, address: nothing")
            << true << home << true << Qt::LeftButton << 0 << QStringList();
        QTest::newRow("right button: nothing")
            << false << QString() << false << Qt::RightButton << 0 << QStringList();
    }
    void clickDependsOnMode()
    {
        QFETCH(bool, shell);
        QFETCH(QString, url);
        QFETCH(bool, onStrip);
        QFETCH(Qt::MouseButton, button);
        link().SetShell(shell, url);
        QSignalSpy clicks(&link(), &LinkLabel::Click);

        if (onStrip)
            QTest::mouseClick(&link(), button, {}, ::onStrip(link()));
        else
            QTest::mouseClick(link().lbllink(), button, {}, onText(link()));

        QTEST(int(clicks.count()), "clicks");
        QTEST(opened, "opens");
        QCOMPARE(link().url(), url); // the address is not rewritten by opening it
    }

    void releaseOffTheTextIsNoClick()
    {
        link().SetShell(false, {});
        QSignalSpy clicks(&link(), &LinkLabel::Click);
        press(link(), onText(link()));
        release(link(), QPoint(-5, -5));
        QCOMPARE(clicks.count(), 0);
        // A release without its press on the text is none either.
        release(link(), onText(link()));
        QCOMPARE(clicks.count(), 0);
    }

    void doubleClickIsOneClick()
    {
        link().SetShell(false, {});
        QSignalSpy clicks(&link(), &LinkLabel::Click);
        QLabel* text = link().lbllink();
        QTest::mousePress(text, Qt::LeftButton, {}, onText(link()));
        QTest::mouseRelease(text, Qt::LeftButton, {}, onText(link()));
        QTest::mouseDClick(text, Qt::LeftButton, {}, onText(link()));
        QTest::mouseRelease(text, Qt::LeftButton, {}, onText(link()));
        QCOMPARE(clicks.count(), 1);
    }

    void mouseNeverReachesTheHolder()
    {
        QTest::mouseClick(link().lbllink(), Qt::LeftButton, {}, onText(link()));
        QTest::mouseClick(link().lbllink(), Qt::RightButton, {}, onText(link()));
        QTest::mouseClick(&link(), Qt::LeftButton, {}, onStrip(link()));
        QCOMPARE(m_holder->presses, 0);
        QTest::mouseClick(m_holder.get(), Qt::LeftButton, {}, QPoint(5, 100));
        QCOMPARE(m_holder->presses, 1); // the holder itself does get presses
    }

    void sizeFollowsCaption()
    {
        const int strip = twipsToPx(20);
        QCOMPARE(strip, 1);
        const auto fitted = [&] {
            return QSize(link().lbllink()->width(), link().lbllink()->height() + strip);
        };
        QCOMPARE(link().size(), fitted());

        const int before = link().width();
        link().SetCaption(u"访问主页获取更新访问主页"_s);
        QVERIFY(link().width() > before);
        QCOMPARE(link().width(), link().lbllink()->sizeHint().width());
        QCOMPARE(link().size(), fitted());

        link().SetCaption(QString());
        QCOMPARE(link().GetCaption(), QString());
        QCOMPARE(link().size(), fitted());

        // A holder's size does not stick, shown or hidden.
        link().SetCaption(u"安徽"_s);
        const QSize own = link().size();
        link().setGeometry(QRect(link().pos(), QSize(54, 13)));
        QCOMPARE(link().size(), own);
        link().hide();
        link().resize(200, 40);
        QCOMPARE(link().size(), own);
    }

    void fontSizeLeavesTheControlAlone()
    {
        link().SetCaption(u"全部电台"_s);
        const QSize own = link().size();
        const QSize text = link().lbllink()->size();
        link().SetFontSize(18);
        QVERIFY(link().lbllink()->width() > text.width());
        QCOMPARE(link().size(), own); // the larger text is cut at the edge
        link().SetCaption(u"全部电台"_s);
        QCOMPARE(link().size(),
                 QSize(link().lbllink()->width(), link().lbllink()->height() + twipsToPx(20)));
    }

    void keysActLikeAClick_data()
    {
        QTest::addColumn<bool>("shell");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("opens");

        const QStringList home{u"http://example.org/"_s};
        const int none = Qt::NoModifier;
        QTest::newRow("space raises Click")
            << false << int(Qt::Key_Space) << none << 1 << QStringList();
        QTest::newRow("return raises Click")
            << false << int(Qt::Key_Return) << none << 1 << QStringList();
        QTest::newRow("keypad enter raises Click")
            << false << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1 << QStringList();
        QTest::newRow("return opens") << true << int(Qt::Key_Return) << none << 0 << home;
        QTest::newRow("space opens") << true << int(Qt::Key_Space) << none << 0 << home;
        QTest::newRow("ctrl+return: nothing")
            << false << int(Qt::Key_Return) << int(Qt::ControlModifier) << 0 << QStringList();
        QTest::newRow("a letter: nothing") << false << int(Qt::Key_A) << none << 0 << QStringList();
    }
    void keysActLikeAClick()
    {
        QFETCH(bool, shell);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        link().SetShell(shell, u"http://example.org/"_s);
        QSignalSpy clicks(&link(), &LinkLabel::Click);
        QTest::keyClick(&link(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // A held key acts once, not at the repeat rate.
        QKeyEvent repeat(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(), true);
        QCoreApplication::sendEvent(&link(), &repeat);
        QTEST(int(clicks.count()), "clicks");
        QTEST(opened, "opens");
    }

    void theKeyboardFocusesTheLinkAndItShowsAMark()
    {
        m_holder->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_holder.get()));
        // A click leaves the focus where it was; Tab brings it.
        m_holder->other->setFocus();
        QTest::mouseClick(link().lbllink(), Qt::LeftButton, {}, onText(link()));
        QVERIFY(m_holder->other->hasFocus());
        // The strip below the text is background only, until the mark runs along it.
        const auto stripColours = [this] {
            const QImage image = link().grab().toImage();
            QSet<QRgb> colours;
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, image.height() - 1));
            return colours;
        };
        QCOMPARE(stripColours(), QSet<QRgb>{qRgb(255, 255, 255)});
        QTest::keyClick(m_holder->other, Qt::Key_Backtab);
        QVERIFY(link().hasFocus());
        QVERIFY(stripColours().contains(qRgb(0, 0, 0)));
    }

    void assistiveTechnologiesSeeOneLink()
    {
        link().SetShell(false, {});
        link().SetCaption(u"全部电台"_s);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&link());
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Link);
        QCOMPARE(iface->text(QAccessible::Name), u"全部电台"_s);
        QVERIFY(iface->state().focusable);
        // The text inside is the name, not a second thing to read out.
        QCOMPARE(iface->childCount(), 0);
        link().SetCaption(u"外文电台"_s);
        QCOMPARE(iface->text(QAccessible::Name), u"外文电台"_s);

        QSignalSpy clicks(&link(), &LinkLabel::Click);
        QVERIFY(iface->actionInterface());
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.count(), 1);
    }

    void theTextAndItsUnderlineFitItsLine()
    {
        // The label keeps to the design's line, whatever face draws it; nothing of the text
        // may be cut off for that, its underline least of all.
        struct Ink
        {
            double mass = 0;       // how much ink, anti-aliased edges included
            int lastRowLength = 0; // inked pixels in the lowest inked row
        };
        const auto ink = [](QWidget& label) {
            QImage image(label.size(), QImage::Format_RGB32);
            image.fill(Qt::white);
            // The text alone, on white: no background of either label.
            label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
            Ink found;
            for (int y = 0; y < image.height(); ++y) {
                int row = 0;
                for (int x = 0; x < image.width(); ++x) {
                    const int darkness = 255 - qGray(image.pixel(x, y));
                    found.mass += darkness;
                    row += darkness > 55;
                }
                if (row > 0)
                    found.lastRowLength = row;
            }
            return found;
        };
        for (const QString& caption : {u"访问博客获取技术"_s, u"安徽"_s, u"LinkLabel"_s}) {
            link().SetCaption(caption);
            QLabel natural(caption);
            natural.setFont(link().lbllink()->font());
            natural.setPalette(link().lbllink()->palette());
            natural.adjustSize();
            const Ink fitted = ink(*link().lbllink());
            const Ink whole = ink(natural);
            QVERIFY2(
                qAbs(fitted.mass - whole.mass) <= whole.mass * 0.03,
                qPrintable(
                    u"%1: %2 of %3 ink shown"_s.arg(caption).arg(fitted.mass).arg(whole.mass)));
            QVERIFY2(fitted.lastRowLength >= link().lbllink()->width() * 9 / 10,
                     qPrintable(caption + u": no underline"_s));
        }
    }

    void cursorIsTheHandUnlessTurnedOff()
    {
        const QCursor hand = link().lbllink()->cursor();
        QCOMPARE(hand.shape(), Qt::BitmapCursor);
        QCOMPARE(hand.hotSpot(), QPoint(6, 0));
        QCOMPARE(hand.pixmap().size(), QSize(32, 32));

        link().SetShowHands(false);
        QCOMPARE(link().lbllink()->cursor().shape(), Qt::BitmapCursor); // until the next move
        hover(link(), onText(link()));
        QCOMPARE(link().lbllink()->cursor().shape(), Qt::ArrowCursor);
        link().SetShowHands(true);
        hover(link(), onText(link()) + QPoint(1, 0));
        QCOMPARE(link().lbllink()->cursor().shape(), Qt::BitmapCursor);
    }
};

QTEST_MAIN(LinkLabelTest)
#include "tst_linklabel.moc"
