#pragma once

#include <QPointer>
#include <QString>

class QMessageBox;
class QUrl;
class QWidget;

namespace qiravon {

//! The answers to one page's script dialogs, all given at once so that no page ever holds up
//! the program: alert() shows its text in a window that does not block any other, confirm()
//! and prompt() are declined unseen, and the question the engine asks before a page that
//! handles beforeunload is left is always answered "leave".
//!
//! A page that loops on alert() gets one window at a time, and a document no more than
//! kShownPerDocument of them; the rest are dropped, as browsers drop the dialogs of a page
//! that would not stop. A page that is not on screen shows none, as a background tab shows
//! none. UI thread only.
class PageDialogs
{
public:
    //! Alert windows one document may show in all.
    static constexpr int kShownPerDocument = 3;
    //! An alert text longer than this is cut, so a page cannot fill the screen.
    static constexpr qsizetype kMaxMessageChars = 2000;

    //! Shows `message` as plain text in a window of its own over `view`'s window (and gone
    //! with it), unless one is open already, the document has used up its share, or `view` is
    //! not shown.
    void alert(QWidget* view, const QUrl& origin, const QString& message);
    //! The answer to confirm(), or to the engine's question before leaving a page.
    [[nodiscard]] bool confirm(const QUrl& origin, const QString& message);
    //! The answer to prompt(): always declined, as if the user had cancelled.
    [[nodiscard]] bool prompt(const QUrl& origin, const QString& message);
    //! A new document starts loading: it gets its own share of alert windows.
    void newDocument();

private:
    QPointer<QMessageBox> m_open;
    int m_shown = 0;
};

//! The caption of a page's alert window: whose page speaks, as browsers say it.
[[nodiscard]] QString pageDialogTitle(const QUrl& origin);

} // namespace qiravon
