#pragma once

#include <QNetworkProxyFactory>

class QUrl;

namespace qiravon {

//! The desktop's proxy settings (on Linux http_proxy, https_proxy and no_proxy, or the
//! desktop's own through libproxy), as GStreamer's HTTP source follows them, for the one
//! network manager or socket that is given it rather than the whole program.
class SystemProxy final : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override;

    //! The proxy a request for `url` goes through; QNetworkProxy::NoProxy when none.
    [[nodiscard]] static QNetworkProxy forUrl(const QUrl& url);
};

} // namespace qiravon
