#pragma once

#include "hosted/ibrowser.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <optional>

namespace qiravon {

//! A browser over Qt WebEngine. Starting the engine takes a noticeable while, so the view is
//! created only when it is first needed: by createEngine(), when the browser is shown, or when
//! its widget becomes visible in a window shown by its holder. Until then a Navigate is kept
//! and issued as soon as the view exists.
class WebEngineBrowser final : public IBrowser
{
    Q_OBJECT
public:
    explicit WebEngineBrowser(QWidget* parent);
    ~WebEngineBrowser() override;

    [[nodiscard]] QWidget* widget() override;
    //! Returns at once; before the engine exists only the last address asked for is kept.
    void Navigate(const QString& address) override;
    void setVisible(bool visible) override;
    [[nodiscard]] bool isVisible() const override { return m_visible; }

    //! Creates the web view and loads the address a Navigate left waiting; does nothing the
    //! second time. Meant to run just after the holding window's first paint.
    void createEngine();
    [[nodiscard]] bool hasEngine() const { return m_view != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_container;
    // The QWebEngineView, held as a widget so that this header stays free of WebEngine.
    QPointer<QWidget> m_view;
    std::optional<QUrl> m_pending;
    QString m_hoveredLink;
    bool m_visible = false;
};

} // namespace qiravon
