#pragma once

#include "common/bgrcolor.h"

#include <QWidget>
#include <functional>

class QLabel;
class QUrl;

namespace qiravon {

//! A line of underlined text that changes colour under the pointer and, when clicked, either
//! opens its address with the desktop's default handler or raises Click().
//!
//! Only the text takes the mouse; the strip below it takes presses and moves without doing
//! anything, so they never reach the window beneath (where a press would drag the window).
//! Size: the text's width, and the height of the design's line of text (12 px at 9 pt, what
//! the layout leaves between links) plus 20 twips. Twips become pixels through twipsToPx()
//! like every layout value, so the strip is 1 px (20 / 15 = 1.33, to nearest).
//! It takes the focus with Tab, shows a dotted focus mark while it has it, and Space, Return
//! and Enter act as a click on the text. Assistive technologies see a link named by its
//! caption. All members run on the UI thread.
class LinkLabel : public QWidget
{
    Q_OBJECT
public:
    //! Opens an address for the desktop; returns whether it was handed over.
    using UrlOpener = std::function<bool(const QUrl&)>;

    explicit LinkLabel(QWidget* parent = nullptr);
    ~LinkLabel() override;

    [[nodiscard]] QString GetCaption() const;
    //! Sets the text and sizes the control to it.
    void SetCaption(const QString& caption);
    //! Shows `color` at once, even under the pointer, and keeps it as the rest colour.
    void SetNorColor(BgrColor color);
    //! Takes effect at the next move over the text.
    void SetMovColor(BgrColor color);
    //! Takes effect at the next press on the text.
    void SetDownColor(BgrColor color);
    void SetBackColor(BgrColor color);
    //! Sets the text's point size. The text resizes, the control does not: a larger text is
    //! cut at the control's edge until the next SetCaption.
    void SetFontSize(int points);
    //! true: a click opens `url` (nothing when it is empty); false: a click raises Click().
    void SetShell(bool shell, const QString& url);
    void SetShowHands(bool showHands);
    //! Does what a click on the text does: raises Click(), or opens the address.
    void click();

    [[nodiscard]] bool shell() const { return m_shell; }
    [[nodiscard]] QString url() const { return m_url; }
    [[nodiscard]] bool showHands() const { return m_showHands; }
    [[nodiscard]] QLabel* lbllink() const { return m_lbllink; }
    //! The colour the text shows now.
    [[nodiscard]] BgrColor textColor() const;
    [[nodiscard]] BgrColor norColor() const { return m_norColor; }

    //! Replaces how every link label opens addresses (tests watch it; the default is
    //! QDesktopServices::openUrl). Returns the opener it replaced.
    static UrlOpener setUrlOpener(UrlOpener opener);
    //! Whether the shared 100 ms leave poll is running. It runs only while some link label
    //! shows another colour than its rest colour, so an idle window has no timer awake.
    [[nodiscard]] static bool isLeavePollRunning();

Q_SIGNALS:
    //! The text was clicked with the primary button while the control is not in address mode.
    void Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class LeavePoll;

    void fitLabel();
    void fitToCaption();
    void setTextColor(BgrColor color);
    void restoreRestColor() { setTextColor(m_norColor); }
    void showPointer();
    [[nodiscard]] bool overText(const QMouseEvent* event) const;

    QLabel* m_lbllink = nullptr;
    BgrColor m_norColor;
    BgrColor m_movColor;
    BgrColor m_downColor;
    bool m_showHands = true;
    bool m_shell = true;
    QString m_url;
    //! A primary press on the text that has not been released yet: its release clicks.
    bool m_pressed = false;
    bool m_handShown = true;
    //! The height of the text's line, in pixels: the design's for the font size.
    int m_lineHeight = 0;
};

} // namespace qiravon
