#include "navigation/form3.h"

#include "common/twips.h"
#include "hosted/hostedfactory.h"
#include "hosted/ibrowser.h"

using namespace Qt::StringLiterals;

namespace qiravon {

Form3::Form3(HostedFactory& hosted)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"Form3"_s);
    setWindowTitle(u"贵州广播电台"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    // The design's client area, which a frame of the design's size makes the outer size; the
    // client is fitted to the real frame once that is known.
    setFixedSize(twipsToPx(4140), twipsToPx(6660));
    m_frame = QSize(twipsToPx(kOuterWidthTwips), twipsToPx(kOuterHeightTwips)) - size();

    web = hosted.createBrowser(this);
    web->setObjectName(u"web"_s);
    QWidget* page = web->widget();
    page->setObjectName(u"web"_s);
    page->setGeometry(0, 0, twipsToPx(4095), twipsToPx(6615));
    web->setVisible(true);
}

Form3::~Form3() = default;

void Form3::showAgain()
{
    // A minimised window would otherwise stay out of sight although the user asked for it.
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void Form3::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Window managers on X11 report the frame only after they have framed the window, which
    // arrives as a move.
    holdOuterSize();
}

void Form3::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    holdOuterSize();
}

void Form3::holdOuterSize()
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QSize frame = frameGeometry().size() - geometry().size();
    // Only a new frame asks for a new size, never the size the window manager gave: a tiling
    // or size-constraining manager that answers with another size is not asked again, so the
    // two never chase each other. The fixed size tells the manager what the window wants and
    // keeps a drag on its border from changing it.
    if (frame == m_frame)
        return;
    m_frame = frame;
    setFixedSize(QSize(twipsToPx(kOuterWidthTwips), twipsToPx(kOuterHeightTwips)) - frame);
}

} // namespace qiravon
