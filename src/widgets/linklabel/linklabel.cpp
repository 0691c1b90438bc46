#include "linklabel.h"

#include "resources.h"
#include "twips.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

constexpr BgrColor kNorColor = 13369344; // RGB(0, 0, 204)
constexpr BgrColor kMovColor = 255;      // RGB(255, 0, 0)
constexpr BgrColor kDownColor = 128;     // RGB(128, 0, 0)
constexpr int kStripTwips = 20;          // background strip below the text
constexpr int kPollMs = 100;

//! One poll for every link label of the process: a label that left its hover or pressed
//! colour goes back to rest when the pointer is no longer over it. The timer runs only while
//! some label is away from its rest colour, so an idle window wakes nobody.
class LeavePoll final : public QObject
{
public:
    static LeavePoll& instance()
    {
        static auto* poll = new LeavePoll(qApp);
        return *poll;
    }

    void watch(LinkLabel* label, std::function<void()> reset)
    {
        for (const Entry& e : m_entries) {
            if (e.label == label)
                return;
        }
        m_entries.push_back({label, std::move(reset)});
        if (!m_timer.isActive())
            m_timer.start();
    }

private:
    struct Entry
    {
        QPointer<LinkLabel> label;
        std::function<void()> reset;
    };

    explicit LeavePoll(QObject* parent) : QObject(parent)
    {
        m_timer.setInterval(kPollMs);
        connect(&m_timer, &QTimer::timeout, this, &LeavePoll::tick);
    }

    void tick()
    {
        const QWidget* under = QApplication::widgetAt(QCursor::pos());
        std::erase_if(m_entries, [under](const Entry& e) {
            if (!e.label)
                return true;
            // The text and the control count as one window.
            if (under == e.label || (under && under->parentWidget() == e.label))
                return false;
            e.reset();
            return true;
        });
        if (m_entries.empty())
            m_timer.stop();
    }

    QTimer m_timer;
    std::vector<Entry> m_entries;
};

} // namespace

LinkLabel::LinkLabel(QWidget* parent)
    : QWidget(parent), m_lbllink(new QLabel(this)), m_norColor(kNorColor), m_movColor(kMovColor),
      m_downColor(kDownColor)
{
    setAutoFillBackground(true);
    SetBackColor(bgr(255, 255, 255));

    m_lbllink->setObjectName(u"lbllink"_s);
    m_lbllink->setTextFormat(Qt::PlainText);
    QFont font = resources::songti(9.0);
    font.setUnderline(true);
    m_lbllink->setFont(font);
    m_lbllink->setMouseTracking(true);
    m_lbllink->setCursor(resources::handCursor());
    m_lbllink->installEventFilter(this);
    m_lbllink->move(0, 0);
    setTextColor(m_norColor);
    SetCaption(u"LinkLabel"_s);
}

LinkLabel::~LinkLabel() = default;

QString LinkLabel::GetCaption() const
{
    return m_lbllink->text();
}

void LinkLabel::SetCaption(const QString& caption)
{
    m_lbllink->setText(caption);
    m_lbllink->adjustSize();
    fitToCaption();
}

void LinkLabel::SetNorColor(BgrColor color)
{
    setTextColor(color);
    m_norColor = color;
}

void LinkLabel::SetMovColor(BgrColor color)
{
    m_movColor = color;
}

void LinkLabel::SetDownColor(BgrColor color)
{
    m_downColor = color;
}

void LinkLabel::SetBackColor(BgrColor color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(color));
    setPalette(pal);
}

void LinkLabel::SetFontSize(int points)
{
    QFont font = m_lbllink->font();
    font.setPointSize(points);
    m_lbllink->setFont(font);
    m_lbllink->adjustSize();
}

void LinkLabel::SetShell(bool shell, const QString& url)
{
    m_shell = shell;
    m_url = url;
}

void LinkLabel::SetShowHands(bool showHands)
{
    m_showHands = showHands;
}

BgrColor LinkLabel::textColor() const
{
    return fromQColor(m_lbllink->palette().color(QPalette::WindowText));
}

void LinkLabel::fitToCaption()
{
    resize(m_lbllink->width(), m_lbllink->height() + twipsToPx(kStripTwips));
}

void LinkLabel::setTextColor(BgrColor color)
{
    QPalette pal = m_lbllink->palette();
    pal.setColor(QPalette::WindowText, toQColor(color));
    m_lbllink->setPalette(pal);
}

void LinkLabel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize fitted(m_lbllink->width(), m_lbllink->height() + twipsToPx(kStripTwips));
    // A holder that gives the control another size sees it snap back to its text.
    if (size() != fitted)
        QTimer::singleShot(0, this, &LinkLabel::fitToCaption);
}

bool LinkLabel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_lbllink)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        setTextColor(m_movColor);
        m_lbllink->setCursor(m_showHands ? resources::handCursor() : QCursor(Qt::ArrowCursor));
        LeavePoll::instance().watch(this, [this] { setTextColor(m_norColor); });
        break;
    case QEvent::MouseButtonPress:
        setTextColor(m_downColor);
        LeavePoll::instance().watch(this, [this] { setTextColor(m_norColor); });
        break;
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton &&
            m_lbllink->rect().contains(release->position().toPoint()))
            click();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void LinkLabel::click()
{
    if (!m_shell) {
        Q_EMIT Click();
        return;
    }
    if (m_url.isEmpty())
        return;
    QDesktopServices::openUrl(QUrl::fromUserInput(m_url));
}

} // namespace qiravon
