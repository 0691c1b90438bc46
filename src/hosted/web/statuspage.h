#pragma once

#include <QWebEnginePage>

namespace qiravon {

//! A page that reports the document's window.status writes. WebEngine has no status-text
//! signal, so a script injected before any page script turns window.status into an accessor
//! whose setter logs the value under a prefix no page can know; the log is read back here.
class StatusPage final : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit StatusPage(QObject* parent);

Q_SIGNALS:
    //! The page (or one of its frames) wrote window.status; the value as the script holds it.
    void statusWritten(const QString& text);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    QString m_prefix;
};

} // namespace qiravon
