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
    // The design's client area; the outer size is put right once the frame is known.
    resize(twipsToPx(4140), twipsToPx(6660));

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

void Form3::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    holdOuterSize();
}

void Form3::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Window managers on X11 report the frame only after they have framed the window, which
    // arrives as a move; the client size has to shrink by the frame then.
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
    const QSize client = QSize(twipsToPx(kOuterWidthTwips), twipsToPx(kOuterHeightTwips)) - frame;
    // Only a real difference resizes, so the resize this causes ends the round.
    if (size() != client)
        resize(client);
}

} // namespace qiravon
