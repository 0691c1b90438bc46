#pragma once

#include "ibrowser.h"

#include <QPointer>

namespace qiravon {

//! A browser over Qt WebEngine.
class WebEngineBrowser final : public IBrowser
{
    Q_OBJECT
public:
    explicit WebEngineBrowser(QWidget* parent);
    ~WebEngineBrowser() override;

    [[nodiscard]] QWidget* widget() override;
    void Navigate(const QString& address) override;
    void setVisible(bool visible) override;
    [[nodiscard]] bool isVisible() const override { return m_visible; }

private:
    QPointer<QWidget> m_container;
    bool m_visible = false;
};

} // namespace qiravon
