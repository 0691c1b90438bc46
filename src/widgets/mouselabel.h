#pragma once

#include <QLabel>

namespace qiravon {

//! A label or picture of the skinned window that reports the mouse to its holder, the way
//! the window's picture buttons and captions need: press, release, move and click, with
//! any button. A click is a press and a release of the same button over the label.
class MouseLabel : public QLabel
{
    Q_OBJECT
public:
    explicit MouseLabel(QWidget* parent = nullptr);

    //! Shows `picture` at its natural size, or scaled to the control when stretched.
    void setPicture(const QPixmap& picture);
    [[nodiscard]] const QPixmap& picture() const { return m_picture; }
    //! Stable for a picture and its copies, so holders can tell which picture is shown.
    [[nodiscard]] qint64 pictureHandle() const { return m_picture.cacheKey(); }
    void setStretched(bool stretched);
    [[nodiscard]] bool isStretched() const { return m_stretched; }

    //! Makes the label a push button for the keyboard and for assistive technologies: it
    //! takes the focus with Tab, Space, Return and Enter click it, and it reports itself as
    //! a button called `name`. The mouse works as before.
    void makeButton(const QString& name);
    [[nodiscard]] bool isButton() const { return m_button; }
    //! Raises clicked() as a mouse click does.
    void click();

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button);
    void mouseUp(Qt::MouseButton button);
    void mouseMove();
    //! A click with the mouse, or a button label activated from the keyboard or by an
    //! assistive technology.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap m_picture;
    bool m_stretched = false;
    bool m_button = false;
    Qt::MouseButton m_pressedButton = Qt::NoButton;
};

} // namespace qiravon
