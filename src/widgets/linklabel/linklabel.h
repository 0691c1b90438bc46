#pragma once

#include "bgrcolor.h"

#include <QWidget>

class QLabel;

namespace qiravon {

//! A line of underlined text that changes colour under the pointer and, when clicked, either
//! opens its address with the desktop's default handler or raises Click().
class LinkLabel : public QWidget
{
    Q_OBJECT
public:
    explicit LinkLabel(QWidget* parent = nullptr);
    ~LinkLabel() override;

    [[nodiscard]] QString GetCaption() const;
    //! Sets the text and sizes the control to it: the text's width, and its height plus 20 twips.
    void SetCaption(const QString& caption);
    void SetNorColor(BgrColor color);
    void SetMovColor(BgrColor color);
    void SetDownColor(BgrColor color);
    void SetBackColor(BgrColor color);
    //! Sets the text's point size; the control keeps its size until the next SetCaption.
    void SetFontSize(int points);
    //! true: a click opens `url` (nothing when it is empty); false: a click raises Click().
    void SetShell(bool shell, const QString& url);
    void SetShowHands(bool showHands);

    [[nodiscard]] bool shell() const { return m_shell; }
    [[nodiscard]] QString url() const { return m_url; }
    [[nodiscard]] QLabel* lbllink() const { return m_lbllink; }
    //! The colour the text shows now.
    [[nodiscard]] BgrColor textColor() const;

Q_SIGNALS:
    void Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitToCaption();
    void click();
    void setTextColor(BgrColor color);

    QLabel* m_lbllink = nullptr;
    BgrColor m_norColor;
    BgrColor m_movColor;
    BgrColor m_downColor;
    bool m_showHands = true;
    bool m_shell = true;
    QString m_url;
};

} // namespace qiravon
