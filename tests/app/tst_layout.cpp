// The main window as created, before its load step: every control's name, kind, place,
// visibility, picture and caption, the stacking order, and the hidden picture sources that
// must never take the mouse.

#include "app/form1.h"
#include "common/twips.h"
#include "hosted/list/listcontrol.h"
#include "resources/resources.h"
#include "support/fakehosted.h"
#include "widgets/linklabel.h"
#include "widgets/mouselabel.h"

#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qiravon;
using namespace qiravon::test;

namespace {

enum class Kind
{
    Link,
    List,
    Browser,
    Image,
    Label
};
constexpr int kNoPicture = -1;
constexpr int kIcon = -2;

struct Row
{
    const char* name;
    Kind kind;
    int left, top, width, height; // twips
    bool visible;
    int picture = kNoPicture; // a resources::Id, or kIcon
    bool stretched = false;
    const char16_t* caption = nullptr;
    bool autoSize = false; // sizes itself to its caption: only left and top are fixed
};

// The window's widgets, topmost first, as the design lists them.
const Row kRows[] = {
    {"LinkLabel5", Kind::Link, 1080, 1440, 0, 0, true},
    {"LinkLabel4", Kind::Link, 1080, 1080, 0, 0, true},
    {"LinkLabel3", Kind::Link, 9240, 1440, 0, 0, true},
    {"LinkLabel2", Kind::Link, 9240, 1080, 0, 0, true},
    {"web", Kind::Browser, 160, 1680, 10815, 4455, false},
    {"LinkMain", Kind::Link, 9480, 6165, 0, 0, true},
    {"LinkBlog", Kind::Link, 9480, 6360, 0, 0, true},
    {"LinkLabel1", Kind::Link, 10200, 1080, 0, 0, true},
    {"ListView2", Kind::List, 10080, 600, 975, 375, false},
    {"ListView1", Kind::List, 160, 1660, 10815, 4455, true},
    {"Links", Kind::Link, 10200, 1440, 0, 0, true},
    {"btnnor", Kind::Image, 5160, 360, 795, 570, false, resources::ToggleNormal},
    {"Label2", Kind::Label, 225, 1305, 0, 0, true, kNoPicture, false, u"电台列表", true},
    {"BtnDown", Kind::Image, 5880, 360, 795, 570, false, resources::TogglePressed},
    {"Image2", Kind::Image, 120, 1080, 915, 570, true, resources::ToggleNormal, true},
    {"Image1", Kind::Image, 60, 60, 360, 360, true, kIcon, true},
    {"vol", Kind::Label, 1800, 555, 0, 0, true, kNoPicture, false, u"100", true},
    {"PlayerBtn(7)", Kind::Image, 120, 560, 180, 165, true, resources::Speaker},
    {"imgvolume", Kind::Image, 1440, 555, 195, 165, true, resources::SpeakerWaves},
    {"HsrlBtn2", Kind::Image, 1080, 585, 240, 135, true, resources::SliderKnob},
    {"HsrlBack4", Kind::Image, 360, 600, 960, 75, true, resources::SliderFill, true},
    {"lblText", Kind::Label, 3240, 6240, 6255, 255, true, kNoPicture, false, u"没有播放的广播."},
    {"lblStatus", Kind::Label, 120, 6240, 3135, 165, true, kNoPicture, false, u"正在播放:128K/s"},
    {"btn_Mini", Kind::Image, 10200, 0, 150, 465, true, resources::MiniNormal},
    {"Btn_End", Kind::Image, 10800, 0, 150, 465, true, resources::CloseNormal},
    {"ends", Kind::Image, 7800, 480, 150, 465, false, resources::CloseNormal},
    {"mini", Kind::Image, 7800, 0, 150, 465, false, resources::MiniNormal},
    {"endDown", Kind::Image, 8280, 480, 150, 465, false, resources::ClosePressed},
    {"miniDown", Kind::Image, 8280, 0, 150, 465, false, resources::MiniPressed},
    {"endpoint", Kind::Image, 8040, 480, 150, 465, false, resources::CloseHover},
    {"miniPoint", Kind::Image, 8040, 0, 150, 465, false, resources::MiniHover},
    {"Label1", Kind::Label, 480, 120, 9495, 255, true, kNoPicture, false, u"Qiravon"},
    {"HsrlBack3", Kind::Image, 360, 600, 945, 75, true, resources::SliderTrack, true},
};

const char* const kHiddenSources[] = {"btnnor",  "BtnDown",  "ends",     "mini",
                                      "endDown", "miniDown", "endpoint", "miniPoint"};

QRect px(int left, int top, int width, int height)
{
    return QRect(twipsToPx(left), twipsToPx(top), twipsToPx(width), twipsToPx(height));
}

bool isKind(const QWidget* w, Kind kind)
{
    switch (kind) {
    case Kind::Link:
        return qobject_cast<const LinkLabel*>(w);
    case Kind::List:
        return qobject_cast<const ListControl*>(w);
    case Kind::Browser:
        return w->metaObject() == &QWidget::staticMetaObject; // the fake's page
    case Kind::Image:
    case Kind::Label:
        return qobject_cast<const MouseLabel*>(w);
    }
    return false;
}

} // namespace

class LayoutTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<FakeHosted> m_hosted;
    FakeReporter m_reporter;
    std::unique_ptr<Form1> m_form;

    QWidget* control(const char* name) const
    {
        return m_form->findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    }

private Q_SLOTS:
    void init()
    {
        m_hosted = std::make_unique<FakeHosted>();
        m_form = std::make_unique<Form1>(*m_hosted, m_reporter, m_dir.path() + u'/');
    }
    void cleanup()
    {
        m_form.reset();
        m_hosted.reset();
    }

    void windowIsFramelessAndSizedToItsClientArea()
    {
        QVERIFY(m_form->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(m_form->size(), QSize(742, 439));
        QCOMPARE(m_form->windowTitle(), u"Qiravon"_s);
        QCOMPARE(m_form->objectName(), u"Form1"_s);
        // The window manager gets the icon with the first frame.
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QTRY_VERIFY(!m_form->windowIcon().isNull());
        // The skin is one pixel narrower and shorter than the window, and not stretched.
        QCOMPARE(resources::pixmap(resources::WindowSkin).size(), QSize(741, 438));
    }

    void controlMatchesTheDesign_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kRows)); ++i)
            QTest::newRow(kRows[i].name) << i;
    }
    void controlMatchesTheDesign()
    {
        QFETCH(int, row);
        const Row& r = kRows[row];
        QWidget* w = control(r.name);
        QVERIFY2(w, "no such control");
        QVERIFY(isKind(w, r.kind));
        QCOMPARE(!w->isHidden(), r.visible);

        if (r.kind == Kind::Link) {
            // The design's size is the caption's fitted size.
            auto* link = static_cast<LinkLabel*>(w);
            QCOMPARE(link->GetCaption(), u"LinkLabel"_s);
            QCOMPARE(w->pos(), px(r.left, r.top, 0, 0).topLeft());
            QCOMPARE(w->size(),
                     QSize(link->lbllink()->width(), link->lbllink()->height() + twipsToPx(20)));
            return;
        }
        if (r.autoSize) {
            QCOMPARE(w->pos(), px(r.left, r.top, 0, 0).topLeft());
            QCOMPARE(w->size(), w->sizeHint());
        } else {
            QCOMPARE(w->geometry(), px(r.left, r.top, r.width, r.height));
        }

        auto* label = qobject_cast<MouseLabel*>(w);
        if (!label)
            return;
        if (r.caption)
            QCOMPARE(label->text(), QString::fromUtf16(r.caption));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(!label->autoFillBackground()); // the skin shows through
        QCOMPARE(label->isStretched(), r.stretched);
        if (r.picture == kIcon) {
            QVERIFY(!label->picture().isNull());
        } else if (r.picture != kNoPicture) {
            // Controls that name one resource show the one picture.
            const QPixmap expected = resources::pixmap(resources::Id(r.picture));
            QVERIFY(!expected.isNull());
            QCOMPARE(label->pictureHandle(), expected.cacheKey());
        } else {
            QVERIFY(label->picture().isNull());
        }
    }

    void stackingIsTopmostFirst()
    {
        QStringList expected;
        for (const Row& r : kRows)
            expected << QString::fromLatin1(r.name);
        // Link(0) .. Link(34) lie between ListView1 and Links, Link(0) topmost.
        const int before = expected.indexOf(u"Links"_s);
        for (int i = static_cast<int>(regions::kCount) - 1; i >= 0; --i)
            expected.insert(before, u"Link(%1)"_s.arg(i));

        // Qt paints later siblings above earlier ones.
        QStringList actual;
        const QObjectList children = m_form->children();
        for (auto it = children.crbegin(); it != children.crend(); ++it) {
            auto* w = qobject_cast<QWidget*>(*it);
            if (w && expected.contains(w->objectName()))
                actual << w->objectName();
        }
        QCOMPARE(actual, expected);
    }

    void regionLinksAreHiddenAtCreation()
    {
        for (int i = 0; i < static_cast<int>(regions::kCount); ++i) {
            LinkLabel* link = m_form->Link[std::size_t(i)];
            QVERIFY(link);
            QCOMPARE(link->objectName(), u"Link(%1)"_s.arg(i));
            QVERIFY(link->isHidden());
            QCOMPARE(link->GetCaption(), u"LinkLabel"_s);
        }
    }

    void othersHoldTheirSettings()
    {
        QCOMPARE(m_form->Label2->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(m_form->ListView1->font().pointSizeF(), 9.0);
        QCOMPARE(m_form->ListView2->font().pointSizeF(), 8.25);
        QCOMPARE(m_form->Timer2->interval(), 100);
        QVERIFY(m_form->Timer2->isActive());
        QCOMPARE(m_form->Timer1->interval(), 1);
        QVERIFY(!m_form->Timer1->isActive());
        QCOMPARE(m_hosted->tray->tip, u"Qiravon"_s);
        QVERIFY(!m_hosted->tray->intray());
        QVERIFY(!m_hosted->browsers.first()->isVisible());
        QCOMPARE(m_hosted->player->URL(), QString());
    }

    void hiddenSourcesNeverTakeTheMouse()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        for (const char* name : kHiddenSources) {
            auto* source = qobject_cast<MouseLabel*>(control(name));
            QVERIFY(source);
            QSignalSpy downs(source, &MouseLabel::mouseDown);
            const QPoint centre = source->geometry().center();
            QVERIFY(m_form->childAt(centre) != source);
            // Not even if something showed it by mistake.
            source->show();
            QVERIFY(m_form->childAt(centre) != source);
            QTest::mouseClick(m_form->windowHandle(), Qt::LeftButton, {}, centre);
            QCOMPARE(downs.count(), 0);
            source->hide();
        }
    }
};

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
