#include "hosted/gst/streamfailure.h"

#include "hosted/gst/playlistparser.h"

namespace qiravon {

namespace {

bool isTextType(const QByteArray& type)
{
    const QByteArray t = type.split(';').first().trimmed().toLower();
    return t.startsWith("text/") || t == "application/xml" || t == "application/xhtml+xml" ||
           t == "application/json";
}

} // namespace

FailureVerdict classifyFailure(const FailureFacts& f)
{
    FailureVerdict v;
    if (f.outputFailed) {
        v.error = PlayerError::AudioOutput;
        return v;
    }
    if (f.isHttp && f.sawResponse && f.httpStatus >= 400) {
        v.error = f.httpStatus == 404 ? PlayerError::NotFound : PlayerError::HttpStatus;
        return v;
    }
    // The HTTP source follows redirects itself; failing on one means it went round in circles
    // (or past its limit of 20).
    if (f.isHttp && f.sawResponse && f.httpStatus >= 300 && f.httpStatus < 400) {
        v.error = PlayerError::RedirectLoop;
        return v;
    }
    if (f.isHttp && !f.sawResponse) {
        // souphttpsrc reports refused, unresolvable and unreachable hosts alike as a flow
        // error; only a connection attempt of our own can tell them apart.
        v.error = f.notFound ? PlayerError::HostNotFound : PlayerError::Refused;
        v.diagnose = true;
        return v;
    }
    const bool playlistType = playlistKindFromContentType(f.contentType) != PlaylistKind::None ||
                              playlistKindFromContentType(f.missingCaps) != PlaylistKind::None ||
                              f.missingCaps == "text/uri-list";
    const bool textType = isTextType(f.contentType) || isTextType(f.missingCaps);
    if (f.isHttp && (playlistType || textType || f.typeNotFound)) {
        // A playlist without a telling name, or a web page; the fetcher parses or names it.
        v.error = textType ? PlayerError::NotAudio : PlayerError::Unsupported;
        v.tryAsPlaylist = true;
        return v;
    }
    if (textType) {
        v.error = PlayerError::NotAudio;
        return v;
    }
    if (f.missingPlugin) {
        v.error = PlayerError::MissingPlugin;
        return v;
    }
    if (f.typeNotFound || f.domain == FailureFacts::Domain::Stream) {
        v.error = PlayerError::Unsupported;
        return v;
    }
    if (f.domain == FailureFacts::Domain::Resource && f.notFound) {
        v.error = PlayerError::NotFound;
        return v;
    }
    return v;
}

} // namespace qiravon
