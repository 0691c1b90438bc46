#include "hosted/web/pagedialogs.h"

#include "hosted/web/log.h"

#include <QMessageBox>
#include <QUrl>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

// What Qt WebEngine asks through javaScriptConfirm() when a page that handles beforeunload is
// about to be left; nothing else tells that question from a page's own confirm(). The program
// installs no translation of Qt's texts, so it reaches us as it stands.
constexpr auto kLeavePageQuestion =
    u"Are you sure you want to leave this page? Changes that you made may not be saved.";

QString shortened(const QString& message)
{
    if (message.size() <= PageDialogs::kMaxMessageChars)
        return message;
    return message.left(PageDialogs::kMaxMessageChars) + QChar(0x2026);
}

} // namespace

void PageDialogs::alert(QWidget* view, const QUrl& origin, const QString& message)
{
    const char* dropped = !view || !view->isVisible()    ? "the page is out of sight"
                          : m_open                       ? "one is shown already"
                          : m_shown >= kShownPerDocument ? "the page has shown its share"
                                                         : nullptr;
    if (dropped) {
        qCDebug(lcWeb) << "alert() of" << origin << "dropped:" << dropped;
        return;
    }
    ++m_shown;
    auto* box = new QMessageBox(QMessageBox::Information, pageDialogTitle(origin),
                                shortened(message), QMessageBox::Ok, view->window());
    box->setObjectName(u"pageMessage"_s);
    box->setTextFormat(Qt::PlainText);
    // QMessageBox makes itself application-modal; a page's word must not hold up the program.
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    m_open = box;
    box->show();
}

bool PageDialogs::confirm(const QUrl& origin, const QString& message)
{
    if (message == kLeavePageQuestion) {
        qCDebug(lcWeb) << "leaving" << origin << "although its beforeunload asks to stay";
        return true;
    }
    qCDebug(lcWeb) << "confirm() of" << origin << "declined";
    return false;
}

bool PageDialogs::prompt(const QUrl& origin, const QString& /*message*/)
{
    qCDebug(lcWeb) << "prompt() of" << origin << "declined";
    return false;
}

void PageDialogs::newDocument()
{
    m_shown = 0;
}

QString pageDialogTitle(const QUrl& origin)
{
    const QString host = origin.host();
    return host.isEmpty() ? u"网页消息"_s : u"来自 %1 的网页消息"_s.arg(host);
}

} // namespace qiravon
