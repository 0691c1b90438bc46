#include "form1.h"

#include "hostedfactory.h"
#include "ibrowser.h"
#include "itray.h"
#include "linklabel.h"
#include "listcontrol.h"
#include "resources.h"
#include "stationtables.h"
#include "twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace qiravon {

Form1::Form1(HostedFactory& hosted, IErrorReporter& reporter, const QString& dataDir,
             QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_hosted(hosted),
      m_reporter(reporter)
{
    setObjectName(u"Form1"_s);
    setWindowTitle(u"Qiravon"_s);
    setWindowIcon(resources::appIcon());
    setFixedSize(twipsToPx(11130), twipsToPx(6585));
    m_skin = resources::pixmap(resources::WindowSkin);
    createControls();
    m_tables = std::make_unique<StationTables>(*ListView1, *ListView2, dataDir);
    wireBehaviour();
    // The status poll runs from creation, as the window design has it.
    Timer2->start();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

Form1::~Form1() = default;

void Form1::wireBehaviour()
{
    wireNavigation();
    wirePlayback();
    wireChrome();
}

std::optional<RuntimeError> Form1::load()
{
    AddListViewColumn();
    ListView1->SetBaseColor(bgr(240, 240, 240));
    ListView1->SetAccentColor(bgr(142, 217, 253));
    ListView1->SetCustomDrawHandler(this);
    ListView1->SetCustomDrawEnabled(true);
    if (auto error = buildCategoryBar())
        return error;
    if (auto error = m_tables->LoadMasterCatalogue())
        return error;
    if (auto error = showFeatured())
        return error;
    web->Navigate(m_tables->dataPath(u"index.htm"_s));
    return std::nullopt;
}

void Form1::activate()
{
    applyRoundedRegion();
    ST1->setIntray(true);
}

void Form1::AddListViewColumn()
{
    m_tables->AddListViewColumn();
}

void Form1::addlist(const QString& category, const QString& name, const QString& description,
                    const QString& streamAddress)
{
    m_tables->addlist(category, name, description, streamAddress);
}

void Form1::addlist2(const QString& category, const QString& name, const QString& description,
                     const QString& streamAddress)
{
    m_tables->addlist2(category, name, description, streamAddress);
}

bool Form1::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // Activation is the window system's to give; a desktop without a window manager never
    // activates anything, so the first show counts as the first activation too.
    if (event->type() == QEvent::WindowActivate || (event->type() == QEvent::Show && !m_shown)) {
        m_shown = true;
        activate();
    }
    return handled;
}

void Form1::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), m_skin);
    if (!m_painted) {
        m_painted = true;
        // Queued, so the first frame reaches the screen before slow parts start.
        QTimer::singleShot(0, this, &Form1::firstPainted);
    }
}

} // namespace qiravon
