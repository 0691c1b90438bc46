// Times the all-stations action against a plain copy, the event loop's longest stall during
// it, a region click on a mid-sized catalogue, and moving the selection in a long list
// against a short one.

#include "catalogue/stationtables.h"
#include "hosted/hostedfactory.h"
#include "hosted/ibrowser.h"
#include "hosted/list/listcontrol.h"
#include "navigation/categoryactions.h"
#include "navigation/categorybar.h"
#include "widgets/linklabel.h"
#include "widgets/mouselabel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using namespace qiravon;

namespace {

class NullBrowser final : public IBrowser
{
public:
    explicit NullBrowser(QWidget* parent) : IBrowser(parent), m_widget(new QWidget(parent)) {}
    QWidget* widget() override { return m_widget; }
    void Navigate(const QString&) override {}
    void setVisible(bool visible) override
    {
        m_visible = visible;
        m_widget->setVisible(visible);
    }
    bool isVisible() const override { return m_visible; }

private:
    QWidget* m_widget;
    bool m_visible = false;
};

class NullHosted final : public HostedFactory
{
public:
    IBrowser* createBrowser(QWidget* parent) override { return new NullBrowser(parent); }
    IMediaPlayer* createMediaPlayer(QObject*) override { return nullptr; }
    ITray* createTray(QObject*) override { return nullptr; }
};

class SilentReporter final : public IErrorReporter
{
public:
    void report(const RuntimeError& error) override
    {
        std::fprintf(stderr, "error: %s\n", qPrintable(error.message()));
    }
};

//! A window with the controls the actions need, over a master table of `stations` rows.
struct Bench
{
    QTemporaryDir dir;
    NullHosted hosted;
    SilentReporter reporter;
    QWidget window;
    CategoryBarLinks links;
    ListControl* visible;
    ListControl* master;
    QTimer* poll;
    std::unique_ptr<StationTables> tables;
    std::unique_ptr<CategoryActions> actions;

    explicit Bench(int stations)
    {
        window.resize(742, 439);
        visible = new ListControl(&window);
        visible->setGeometry(11, 111, 721, 297);
        master = new ListControl(&window);
        master->hide();
        poll = new QTimer(&window);
        poll->setInterval(100);
        for (LinkLabel*& link : links.regions)
            link = new LinkLabel(&window);
        for (LinkLabel** l :
             {&links.featured, &links.allStations, &links.netStations, &links.foreignStations,
              &links.rowOneStart, &links.rowTwoStart, &links.homePage, &links.blog})
            *l = new LinkLabel(&window);
        for (std::size_t i = 0; i < links.regions.size(); ++i)
            links.regions[i]->SetCaption(u"地区%1"_s.arg(i));

        QFile forin(dir.path() + u"/forin.cdb"_s);
        forin.open(QIODevice::WriteOnly);
        for (int i = 0; i < 200; ++i)
            forin.write(QByteArray("Foreign ") + QByteArray::number(i) + "|http://f/|desc\r\n");
        forin.close();

        tables = std::make_unique<StationTables>(*visible, *master, dir.path() + u'/');
        tables->AddListViewColumn();
        for (int i = 0; i < stations; ++i) {
            tables->addlist2(u"地区%1"_s.arg(i % 35), u"电台 %1"_s.arg(i),
                             u"一段不太长的电台介绍文字 %1"_s.arg(i),
                             u"http://stream.example/%1"_s.arg(i));
        }

        NavigationControls c;
        c.links = links;
        c.stationList = visible;
        c.browser = hosted.createBrowser(&window);
        c.statusPoll = poll;
        for (MouseLabel** m : {&c.toggleCaption, &c.toggleFace, &c.toggleNormal, &c.togglePressed})
            *m = new MouseLabel(&window);
        actions = std::make_unique<CategoryActions>(c, *tables, hosted, reporter);
        window.show();
        settle();
    }

    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msSince(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

//! Median times of the three ways the selection moves, in a visible list of `rows` rows.
struct SelectionTimes
{
    double click = 0;  //!< a press and release on a row
    double key = 0;    //!< an arrow key
    double marked = 0; //!< SetItemSelected, as a row activation marks its row
};

SelectionTimes timeSelection(int rows, int rounds)
{
    Bench b(rows);
    b.tables->CopyAllStations();
    Bench::settle();
    QTableView* view = b.visible->view();
    view->setFocus();
    view->scrollToBottom();
    Bench::settle();
    const auto measure = [&](const auto& once) {
        std::vector<double> times;
        for (int r = 0; r < rounds; ++r) {
            QElapsedTimer t;
            t.start();
            once(r);
            times.push_back(msSince(t));
            Bench::settle();
        }
        return median(times);
    };
    // Near the end of the list, alternating between two rows so that each step changes it.
    const int last = b.visible->ItemCount() - 1;
    SelectionTimes times;
    times.click = measure([&](int r) {
        const QPoint at = view->visualRect(view->model()->index(last - r % 2, 1)).center();
        const QPointF global = view->viewport()->mapToGlobal(QPointF(at));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &press);
        QCoreApplication::sendEvent(view->viewport(), &release);
    });
    times.key = measure([&](int r) {
        QKeyEvent key(QEvent::KeyPress, r % 2 ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &key);
    });
    times.marked = measure([&](int r) { b.visible->SetItemSelected(last - r % 2, 1); });
    return times;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    {
        Bench b(100000);
        std::vector<double> plain, action, stalls, clears;
        for (int r = 0; r < rounds; ++r) {
            b.tables->CopyAllStations();
            Bench::settle();
            QElapsedTimer t;
            t.start();
            // The plain copy does what the action does, without letting events run.
            b.visible->Clear();
            clears.push_back(msSince(t));
            b.tables->CopyAllStations();
            plain.push_back(msSince(t));
            Bench::settle();

            // A 1 ms timer sees every gap in which the event loop did not come round.
            QElapsedTimer sinceTick;
            double longest = 0;
            QTimer tick;
            tick.setInterval(1);
            QObject::connect(&tick, &QTimer::timeout, [&] {
                longest = std::max(longest, msSince(sinceTick));
                sinceTick.restart();
            });
            tick.start();
            sinceTick.start();
            t.restart();
            b.actions->allStationsClicked();
            action.push_back(msSince(t));
            longest = std::max(longest, msSince(sinceTick)); // the tail after the last tick
            tick.stop();
            stalls.push_back(longest);
            if (b.visible->ItemCount() != 100200)
                std::fprintf(stderr, "unexpected row count %d\n", b.visible->ItemCount());
            Bench::settle();
        }
        const double p = median(plain), a = median(action);
        std::printf("all stations, 100000 master rows (median of %d)\n", rounds);
        std::printf(
            "  plain clear + copy, no events %5.1f ms  (of which clearing 100000 rows %.1f)\n", p,
            median(clears));
        std::printf("  all-stations action        %8.1f ms  ratio %.2f (target <= 2)\n", a, a / p);
        std::printf("  longest event-loop stall   %8.1f ms  (target <= 50; worst %.1f)\n",
                    median(stalls), *std::max_element(stalls.begin(), stalls.end()));
    }

    {
        Bench b(10000);
        std::vector<double> handler, withView;
        const int clicks = rounds * 10;
        for (int r = 0; r < clicks; ++r) {
            b.tables->CopyAllStations(); // a full list to clear first
            Bench::settle();
            QElapsedTimer t;
            t.start();
            b.actions->regionClicked(2 + r % 30);
            handler.push_back(msSince(t));
            Bench::settle();
            withView.push_back(msSince(t));
        }
        std::printf("region click, 10000 master rows, full list before (median of %d)\n", clicks);
        std::printf("  handler                    %8.2f ms  (target <= 16; worst %.2f)\n",
                    median(handler), *std::max_element(handler.begin(), handler.end()));
        std::printf("  handler + view catching up %8.2f ms  (worst %.2f)\n", median(withView),
                    *std::max_element(withView.begin(), withView.end()));
    }

    {
        // Selecting must not cost more in a long list than in a short one.
        const int steps = rounds * 20;
        const SelectionTimes few = timeSelection(1000, steps);
        const SelectionTimes many = timeSelection(100000, steps);
        std::printf("selection near the end of the list, 100000 rows against 1000 (median of %d)\n",
                    steps);
        std::printf("  click on a row             %8.3f ms  against %.3f, ratio %.2f\n", many.click,
                    few.click, many.click / few.click);
        std::printf("  arrow key                  %8.3f ms  against %.3f, ratio %.2f\n", many.key,
                    few.key, many.key / few.key);
        std::printf("  marked by the program      %8.3f ms  against %.3f, ratio %.2f\n",
                    many.marked, few.marked, many.marked / few.marked);
    }
    return 0;
}
