#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace qiravon {

//! An embedded web browser placed in a window.
//! All members are called on the UI thread, and all signals are emitted there.
class IBrowser : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~IBrowser() override = default;

    //! The widget that shows the page; the holder places it and owns it through Qt parenting.
    [[nodiscard]] virtual QWidget* widget() = 0;
    //! Starts loading `address` (a web address or a local file path) and returns at once.
    virtual void Navigate(const QString& address) = 0;
    //! Shows or hides the browser in place without losing its page.
    virtual void setVisible(bool visible) = 0;
    //! The last value written with setVisible(); hidden until then.
    [[nodiscard]] virtual bool isVisible() const = 0;

Q_SIGNALS:
    //! The status text changed (a hovered link, or the page's window.status); may be empty.
    void StatusTextChange(const QString& text);
    //! The current document's title changed.
    void TitleChange(const QString& text);
};

} // namespace qiravon
