#include "hosted/web/statuspage.h"

#include <QUuid>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

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

StatusPage::StatusPage(QObject* parent)
    : QWebEnginePage(parent),
      m_prefix(u"qiravon-status/"_s + QUuid::createUuid().toString(QUuid::WithoutBraces) + u':')
{
    QWebEngineScript script;
    script.setName(u"qiravon-window-status"_s);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(statusScript(m_prefix));
    scripts().insert(script);
}

void StatusPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                          const QString& message, int lineNumber,
                                          const QString& sourceID)
{
    if (message.startsWith(m_prefix)) {
        Q_EMIT statusWritten(message.mid(m_prefix.size()));
        return;
    }
    QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceID);
}

} // namespace qiravon
