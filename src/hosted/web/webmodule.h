#pragma once

#include <QString>
#include <QtPlugin>
#include <memory>

class QWidget;

namespace qiravon {

//! What a web view reports to its holder. Called on the UI thread while the view lives.
class IWebViewEvents
{
public:
    //! The current document's title changed.
    virtual void titleChanged(const QString& title) = 0;
    //! The status text changed (a hovered link, or the page's window.status); may be empty.
    virtual void statusTextChanged(const QString& text) = 0;

protected:
    ~IWebViewEvents() = default;
};

//! A page view whose engine runs. Its widget is a child of the widget it was made for and
//! goes with it; the view object only stops talking to its events once destroyed.
class IWebView
{
public:
    virtual ~IWebView() = default;
    [[nodiscard]] virtual QWidget* widget() = 0;
    //! Starts loading `address` (a web address or a local file path) and returns at once.
    virtual void navigate(const QString& address) = 0;
};

//! The web engine as a module loaded on first need, so that a program that never shows a
//! page never maps the engine. Only Qt types and these interfaces cross the boundary: the
//! module keeps its own copy of the program's static code, whose Qt meta-objects must not
//! meet the program's.
class IWebEngineModule
{
public:
    virtual ~IWebEngineModule() = default;
    //! A view whose widget is a child of `parent`, its engine started. UI thread only.
    [[nodiscard]] virtual std::unique_ptr<IWebView> createView(QWidget* parent,
                                                               IWebViewEvents& events) = 0;
};

} // namespace qiravon

#define QIRAVON_WEB_ENGINE_MODULE_IID "org.qiravon.WebEngineModule/1"
Q_DECLARE_INTERFACE(qiravon::IWebEngineModule, QIRAVON_WEB_ENGINE_MODULE_IID)
