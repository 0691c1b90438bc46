#pragma once

#include "hosted/ibrowser.h"
#include "hosted/web/webmodule.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace qiravon {

//! A browser that starts its engine only when a page must be shown: when it is made visible,
//! or when its holder shows its widget. Until then it keeps the last Navigate, and reports the
//! <title> of a local page itself, so the caption that shows it is right from the start.
//! When no engine can be had, the widget shows a short plain message instead of the page.
class LazyBrowser final : public IBrowser, private IWebViewEvents
{
    Q_OBJECT
public:
    //! Makes the real view inside `parent`, or returns null and puts the reason in `error`.
    using ViewFactory = std::function<std::unique_ptr<IWebView>(
        QWidget* parent, IWebViewEvents& events, QString* error)>;

    LazyBrowser(QWidget* parent, ViewFactory factory);
    ~LazyBrowser() override;

    [[nodiscard]] QWidget* widget() override;
    //! Returns at once; before the engine runs only the last address is kept.
    void Navigate(const QString& address) override;
    void setVisible(bool visible) override;
    [[nodiscard]] bool isVisible() const override { return m_visible; }

    //! True once the engine was asked for, whether or not it could be had.
    [[nodiscard]] bool started() const { return m_started; }
    //! True when the engine could not be had and the message shows instead.
    [[nodiscard]] bool failed() const { return m_started && !m_view; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void start();
    void reportLocalTitle(quint64 navigation, const QString& path);
    void titleChanged(const QString& title) override;
    void statusTextChanged(const QString& text) override;

    QPointer<QWidget> m_container;
    ViewFactory m_factory;
    std::unique_ptr<IWebView> m_view;
    std::optional<QString> m_pending;
    quint64 m_navigations = 0;
    bool m_visible = false;
    bool m_started = false;
};

//! The message the browser's place shows when the engine could not be started.
[[nodiscard]] QString webUnavailableText();

} // namespace qiravon
