#include "hosted/gst/systemproxy.h"

#include <QUrl>

namespace qiravon {

QList<QNetworkProxy> SystemProxy::queryProxy(const QNetworkProxyQuery& query)
{
    return systemProxyForQuery(query);
}

QNetworkProxy SystemProxy::forUrl(const QUrl& url)
{
    const QList<QNetworkProxy> proxies = systemProxyForQuery(QNetworkProxyQuery(url));
    return proxies.isEmpty() ? QNetworkProxy(QNetworkProxy::NoProxy) : proxies.first();
}

} // namespace qiravon
