#include "widgets/linklabel.h"

#include "common/twips.h"
#include "resources/resources.h"
#include "widgets/focusmark.h"
#include "widgets/leavepoll.h"
#include "widgets/linklabelaccessible.h"

#include <QDesktopServices>
#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

constexpr BgrColor kNorColor = 13369344; // RGB(0, 0, 204)
constexpr BgrColor kMovColor = 255;      // RGB(255, 0, 0)
constexpr BgrColor kDownColor = 128;     // RGB(128, 0, 0)
constexpr int kStripTwips = 20;          // background strip below the text
constexpr double kFontPoints = 9.0;

// A line of text of `points` takes, in the design, the height of its em: 9 pt, 180 twips,
// 12 px. The layout stacks links that closely (LinkMain and LinkBlog are 13 px apart).
int lineHeightPx(double points)
{
    return twipsToPx(points * 20);
}

// The design's face draws the text and its underline inside that height. The CJK faces of a
// Linux desktop draw taller lines, with the underline further down: a label of their natural
// height covers the link below it. The face is therefore taken at the largest size whose
// ascent and underline fit the design's line.
QFont fitFont(double points)
{
    QFont font = resources::songti(points);
    font.setUnderline(true);
    const int height = lineHeightPx(points);
    for (int px = height; px > 1; --px) {
        font.setPixelSize(px);
        const QFontMetrics metrics(font);
        if (metrics.ascent() + metrics.underlinePos() + metrics.lineWidth() <= height)
            break;
    }
    return font;
}

// The window has some forty links of one size; each size is fitted once.
QFont fittedFont(double points)
{
    static QHash<double, QFont> fitted;
    auto it = fitted.constFind(points);
    if (it == fitted.constEnd())
        it = fitted.insert(points, fitFont(points));
    return *it;
}

LinkLabel::UrlOpener& urlOpener()
{
    static LinkLabel::UrlOpener opener = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    return opener;
}

} // namespace

LinkLabel::LinkLabel(QWidget* parent)
    : QWidget(parent), m_lbllink(new QLabel(this)), m_norColor(kNorColor), m_movColor(kMovColor),
      m_downColor(kDownColor)
{
    // Its own back colour, whatever role the holder paints its background with.
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    // The strip below the text takes the mouse and does nothing with it; a press passed on
    // to the window beneath would start dragging the window.
    setAttribute(Qt::WA_NoMousePropagation);
    SetBackColor(bgr(255, 255, 255));

    m_lbllink->setObjectName(u"lbllink"_s);
    // Captions come from catalogue files; they are shown, never interpreted.
    m_lbllink->setTextFormat(Qt::PlainText);
    m_lbllink->setFont(fittedFont(kFontPoints));
    m_lineHeight = lineHeightPx(kFontPoints);
    m_lbllink->setMouseTracking(true);
    m_lbllink->setCursor(resources::handCursor());
    m_lbllink->installEventFilter(this);
    m_lbllink->move(0, 0);
    setTextColor(m_norColor);
    SetCaption(u"LinkLabel"_s);

    // Keyboard only: a click on a link must not take the focus from the list.
    setFocusPolicy(Qt::TabFocus);
    installLinkLabelAccessibility();
}

LinkLabel::~LinkLabel() = default;

QString LinkLabel::GetCaption() const
{
    return m_lbllink->text();
}

void LinkLabel::SetCaption(const QString& caption)
{
    m_lbllink->setText(caption);
    fitLabel();
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
    m_lbllink->setFont(fittedFont(points));
    m_lineHeight = lineHeightPx(points);
    fitLabel();
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

LinkLabel::UrlOpener LinkLabel::setUrlOpener(UrlOpener opener)
{
    return std::exchange(urlOpener(), std::move(opener));
}

bool LinkLabel::isLeavePollRunning()
{
    return LeavePoll::instance().isRunning();
}

void LinkLabel::fitLabel()
{
    // As wide as the text, as high as the design's line.
    m_lbllink->adjustSize();
    m_lbllink->resize(m_lbllink->width(), m_lineHeight);
}

void LinkLabel::fitToCaption()
{
    // A fixed size, so that a holder giving the control another size, hidden or shown,
    // sees it keep its fitted size at once rather than after the next event.
    setFixedSize(m_lbllink->width(), m_lbllink->height() + twipsToPx(kStripTwips));
}

void LinkLabel::setTextColor(BgrColor color)
{
    QPalette pal = m_lbllink->palette();
    if (pal.color(QPalette::WindowText) == toQColor(color))
        return;
    pal.setColor(QPalette::WindowText, toQColor(color));
    m_lbllink->setPalette(pal);
    if (color != m_norColor)
        LeavePoll::instance().watch(this);
}

void LinkLabel::showPointer()
{
    if (m_handShown == m_showHands)
        return;
    m_handShown = m_showHands;
    m_lbllink->setCursor(m_showHands ? resources::handCursor() : QCursor(Qt::ArrowCursor));
}

void LinkLabel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitToCaption();
}

void LinkLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) ||
        (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // A held key must not open the same address over and over.
    if (!event->isAutoRepeat())
        click();
}

void LinkLabel::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        drawFocusMark(painter, rect(), palette().color(QPalette::WindowText));
    }
}

bool LinkLabel::overText(const QMouseEvent* event) const
{
    return m_lbllink->rect().contains(event->position().toPoint());
}

bool LinkLabel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_lbllink)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove: {
        // While a button is held the text keeps the mouse even off it; only moves over the
        // text count.
        if (overText(static_cast<QMouseEvent*>(event))) {
            setTextColor(m_movColor);
            showPointer();
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* press = static_cast<QMouseEvent*>(event);
        setTextColor(m_downColor);
        // A double click is one click, as the desktop counts it: its second press starts none.
        if (event->type() == QEvent::MouseButtonPress && press->button() == Qt::LeftButton)
            m_pressed = true;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() != Qt::LeftButton)
            return true;
        const bool clicked = m_pressed && overText(release);
        m_pressed = false;
        if (clicked)
            click();
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void LinkLabel::click()
{
    if (!m_shell) {
        Q_EMIT Click();
        return;
    }
    if (m_url.isEmpty())
        return;
    // The address is handed over as it is; whether the desktop could open it is not the
    // link's concern, as a browser's link does not report a failed launch either.
    const UrlOpener opener = urlOpener();
    if (opener)
        opener(QUrl::fromUserInput(m_url));
}

} // namespace qiravon
