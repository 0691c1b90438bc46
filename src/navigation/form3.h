#pragma once

#include <QSize>
#include <QWidget>

namespace qiravon {

class HostedFactory;
class IBrowser;

//! The small window that plays one regional station through its web player. It has no owner,
//! is not modal, and deletes itself when the user closes it.
class Form3 : public QWidget
{
    Q_OBJECT
public:
    //! Outer size, frame included, that the window springs back to in its normal state.
    static constexpr int kOuterWidthTwips = 4260;
    static constexpr int kOuterHeightTwips = 7170;

    explicit Form3(HostedFactory& hosted);
    ~Form3() override;

    //! Shows the window, or brings it back to the front when it is already shown.
    void showAgain();

    IBrowser* web = nullptr;

protected:
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void holdOuterSize();

    //! The frame the client size was last fitted to; the design's, until the real one is known.
    QSize m_frame;
};

} // namespace qiravon
