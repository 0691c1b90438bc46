#pragma once

#include "hosted/web/pagedialogs.h"

#include <QWebEnginePage>

namespace qiravon {

//! The page of a browser: it reports the document's window.status writes, and its script
//! dialogs never wait for the user (see PageDialogs).
//!
//! WebEngine has no status-text signal, so a script injected before any page script turns
//! window.status into an accessor whose setter logs the value under a prefix no page can know;
//! the log is read back here.
class BrowserPage final : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit BrowserPage(QObject* parent);

Q_SIGNALS:
    //! The page (or one of its frames) wrote window.status; the value as the script holds it.
    void statusWritten(const QString& text);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;

private:
    QString m_prefix;
    PageDialogs m_dialogs;
};

} // namespace qiravon
