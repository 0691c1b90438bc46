#include "hosted/web/browserpage.h"

#include <QUuid>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

// console.debug is taken at document creation, so a page that later replaces console
// functions cannot swallow the writes. The setter keeps the value readable, as pages that
// scroll a text through the status line read it back.
QString statusScript(const QString& prefix)
{
    return uR"JS((function () {
  var log = console.debug.bind(console);
  var current = "";
  try {
    Object.defineProperty(window, "status", {
      configurable: true,
      enumerable: true,
      get: function () { return current; },
      set: function (value) { current = String(value); log("%1" + current); }
    });
  } catch (e) {}
})();)JS"_s.arg(prefix);
}

} // namespace

BrowserPage::BrowserPage(QObject* parent)
    : QWebEnginePage(parent),
      m_prefix(u"qiravon-status/"_s + QUuid::createUuid().toString(QUuid::WithoutBraces) + u':')
{
    // Each document gets its own share of dialogs, as a browser's tab does.
    connect(this, &QWebEnginePage::loadStarted, this, [this] { m_dialogs.newDocument(); });

    QWebEngineScript script;
    script.setName(u"qiravon-window-status"_s);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(statusScript(m_prefix));
    scripts().insert(script);
}

void BrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                           const QString& message, int lineNumber,
                                           const QString& sourceID)
{
    if (message.startsWith(m_prefix)) {
        Q_EMIT statusWritten(message.mid(m_prefix.size()));
        return;
    }
    QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
}

// The engine's own answers would open modal message boxes that run a nested event loop until
// the user answers: every window of the program waits meanwhile, and a page that loops on
// alert() never lets go. Every answer here is given at once.
void BrowserPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg)
{
    m_dialogs.alert(QWebEngineView::forPage(this), securityOrigin, msg);
}

bool BrowserPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg)
{
    return m_dialogs.confirm(securityOrigin, msg);
}

bool BrowserPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                   const QString& /*defaultValue*/, QString* /*result*/)
{
    return m_dialogs.prompt(securityOrigin, msg);
}

} // namespace qiravon
