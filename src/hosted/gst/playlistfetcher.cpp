#include "hosted/gst/playlistfetcher.h"

#include "hosted/gst/systemproxy.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

bool isMediaType(const QByteArray& contentType)
{
    const QByteArray type = contentType.split(';').first().trimmed().toLower();
    if (playlistKindFromContentType(type) != PlaylistKind::None)
        return false;
    return type.startsWith("audio/") || type.startsWith("video/") || type == "application/ogg" ||
           type == "application/octet-stream";
}

bool looksLikeHtml(const QByteArray& contentType, const QByteArray& body)
{
    const QByteArray type = contentType.toLower();
    const QByteArray head = body.left(512).trimmed().toLower();
    return type.contains("html") || head.startsWith("<!doctype html") || head.startsWith("<html");
}

// Through an HTTP proxy the connection Qt makes is to the proxy, so a refusal or an unknown
// host is the proxy's.
PlayerError errorOf(QNetworkReply::NetworkError error, int httpStatus, bool viaProxy)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return viaProxy ? PlayerError::ProxyRefused : PlayerError::Refused;
    case QNetworkReply::HostNotFoundError:
        return viaProxy ? PlayerError::ProxyNotFound : PlayerError::HostNotFound;
    case QNetworkReply::TimeoutError:
        return PlayerError::Timeout;
    case QNetworkReply::ContentNotFoundError:
        return PlayerError::NotFound;
    case QNetworkReply::ProtocolUnknownError:
        return PlayerError::Unsupported;
    case QNetworkReply::TooManyRedirectsError:
        return PlayerError::RedirectLoop;
    case QNetworkReply::ProxyConnectionRefusedError:
        return PlayerError::ProxyRefused;
    case QNetworkReply::ProxyNotFoundError:
        return PlayerError::ProxyNotFound;
    case QNetworkReply::ProxyTimeoutError:
        return PlayerError::Timeout;
    default:
        break;
    }
    if (httpStatus == 404)
        return PlayerError::NotFound;
    if (httpStatus >= 400)
        return PlayerError::HttpStatus;
    return PlayerError::Other;
}

} // namespace

PlaylistFetcher::PlaylistFetcher(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this))
{
    // The desktop's proxy, as GStreamer's HTTP source uses it for the streams themselves.
    m_network->setProxyFactory(new SystemProxy);
    m_timer.setSingleShot(true);
    m_timer.setInterval(10'000);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        if (m_reply)
            m_reply->abort();
    });
}

PlaylistFetcher::~PlaylistFetcher()
{
    cancel();
}

void PlaylistFetcher::fetch(const QUrl& url, PlaylistKind hint)
{
    cancel();
    m_url = url;
    m_hint = hint;
    m_body.clear();
    m_timedOut = m_tooLarge = m_isStream = false;

    QNetworkRequest request(url);
    // No downgrade from https to http, and no endless redirect chains.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setHeader(QNetworkRequest::UserAgentHeader, u"Qiravon"_s);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &PlaylistFetcher::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &PlaylistFetcher::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &PlaylistFetcher::onFinished);
    m_timer.start();
}

void PlaylistFetcher::cancel()
{
    m_timer.stop();
    if (QNetworkReply* reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void PlaylistFetcher::onMetaData()
{
    // A stream behind a playlist-looking name never ends; stop reading it at the headers.
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 200 && status < 300 &&
        isMediaType(m_reply->header(QNetworkRequest::ContentTypeHeader).toByteArray())) {
        m_isStream = true;
        m_reply->abort();
    }
}

void PlaylistFetcher::onReadyRead()
{
    m_body += m_reply->read(kMaxBytes + 1 - m_body.size());
    if (m_body.size() > kMaxBytes) {
        m_tooLarge = true;
        m_reply->abort();
    }
}

void PlaylistFetcher::onFinished()
{
    QNetworkReply* reply = m_reply;
    m_timer.stop();
    PlaylistResult result;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    result.httpStatus = status;
    if (m_isStream) {
        result.isStream = true;
    } else if (m_tooLarge) {
        result.error = PlayerError::PlaylistTooLarge;
    } else if (m_timedOut) {
        result.error = PlayerError::Timeout;
    } else if (reply->error() != QNetworkReply::NoError) {
        const QNetworkProxy::ProxyType proxy = SystemProxy::forUrl(m_url).type();
        result.error =
            errorOf(reply->error(), status,
                    proxy == QNetworkProxy::HttpProxy || proxy == QNetworkProxy::HttpCachingProxy);
    } else {
        m_body += reply->readAll();
        PlaylistKind kind = sniffPlaylist(m_body);
        if (kind == PlaylistKind::None)
            kind = m_hint != PlaylistKind::None ? m_hint : playlistKindFromContentType(contentType);
        if (kind == PlaylistKind::Hls) {
            result.isStream = true;
        } else if (kind == PlaylistKind::None || looksLikeHtml(contentType, m_body)) {
            result.error = looksLikeHtml(contentType, m_body) ? PlayerError::NotAudio
                                                              : PlayerError::Unsupported;
        } else {
            PlaylistRead read = readPlaylist(kind, m_body, reply->url(), kMaxEntries);
            result.entries = std::move(read.entries);
            if (read.refused)
                result.error = PlayerError::PlaylistRefused;
            else if (result.entries.isEmpty())
                result.error = PlayerError::EmptyPlaylist;
        }
    }
    finish(result);
}

void PlaylistFetcher::finish(PlaylistResult result)
{
    const QUrl url = m_url;
    if (QNetworkReply* reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->deleteLater();
    }
    Q_EMIT finished(url, result);
}

} // namespace qiravon
