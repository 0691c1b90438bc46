#include "hosted/gst/playerstatus.h"

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

QString errorText(const PlayerState& s)
{
    switch (s.error) {
    case PlayerError::Refused:
        return u"无法连接:服务器拒绝连接"_s;
    case PlayerError::HostNotFound:
        return u"无法连接:找不到服务器"_s;
    case PlayerError::NotFound:
        return u"无法播放:电台地址不存在(404)"_s;
    case PlayerError::HttpStatus:
        return u"无法播放:服务器出错(%1)"_s.arg(s.httpStatus);
    case PlayerError::Timeout:
        return u"无法连接:服务器没有响应"_s;
    case PlayerError::NotAudio:
        return u"无法播放:该地址是网页,不是音频流"_s;
    case PlayerError::Unsupported:
        return u"无法播放:不支持的流格式"_s;
    case PlayerError::MissingPlugin:
        return s.missingPlugin.isEmpty() ? u"无法播放:缺少解码插件"_s
                                         : u"无法播放:缺少解码插件(%1)"_s.arg(s.missingPlugin);
    case PlayerError::MmsUnsupported:
        return u"无法播放:不支持 mms:// 地址"_s;
    case PlayerError::InvalidAddress:
        return u"无法播放:电台地址无效"_s;
    case PlayerError::EmptyPlaylist:
        return u"无法播放:播放列表里没有可用的地址"_s;
    case PlayerError::PlaylistTooLarge:
        return u"无法播放:播放列表过大"_s;
    case PlayerError::AudioOutput:
        return u"无法播放:打不开声音设备"_s;
    case PlayerError::PlaylistRefused:
        return u"无法播放:播放列表含有不安全的内容,已拒绝"_s;
    case PlayerError::LocalAccess:
        return u"无法播放:电台试图打开本机文件,已拒绝"_s;
    case PlayerError::RedirectLoop:
        return u"无法播放:电台地址循环重定向"_s;
    case PlayerError::PlaylistLoop:
        return u"无法播放:播放列表循环引用自身"_s;
    case PlayerError::ProxyRefused:
        return u"无法连接:代理服务器拒绝连接"_s;
    case PlayerError::ProxyNotFound:
        return u"无法连接:找不到代理服务器"_s;
    case PlayerError::None:
    case PlayerError::Other:
        break;
    }
    return u"无法播放:播放出错"_s;
}

} // namespace

QString statusText(const PlayerState& s)
{
    switch (s.phase) {
    case PlayerPhase::Idle:
        return {};
    case PlayerPhase::Connecting:
        return u"正在连接..."_s;
    case PlayerPhase::Buffering:
        return u"正在缓冲:%1%"_s.arg(qBound(0, s.bufferPercent, 100));
    case PlayerPhase::Playing: {
        QString text = u"正在播放"_s;
        if (s.bitrateKbps > 0)
            text += u":%1K/s"_s.arg(s.bitrateKbps);
        if (!s.title.isEmpty())
            text += (s.bitrateKbps > 0 ? u" "_s : u":"_s) + s.title;
        return text;
    }
    case PlayerPhase::Retrying:
        return u"连接中断,%1秒后重新连接..."_s.arg(s.retrySeconds);
    case PlayerPhase::Stopped:
        return s.ended ? u"播放结束"_s : u"已停止"_s;
    case PlayerPhase::Failed:
        return errorText(s);
    }
    return {};
}

int reconnectDelaySeconds(int attempt)
{
    // 2^6 already passes the cap; clamping first keeps the shift defined for any attempt.
    if (attempt < 0)
        attempt = 0;
    if (attempt >= 6)
        return 60;
    return 1 << attempt;
}

} // namespace qiravon
