#pragma once

#include "hosted/gst/playerstatus.h"

#include <QByteArray>
#include <QString>

namespace qiravon {

//! What the pipeline told about a failed attempt, reduced to plain values.
struct FailureFacts
{
    enum class Domain
    {
        Core,
        Library,
        Resource,
        Stream,
        Other
    };
    Domain domain = Domain::Other;
    bool notFound = false;      //!< GST_RESOURCE_ERROR_NOT_FOUND
    bool missingPlugin = false; //!< GST_CORE_ERROR_MISSING_PLUGIN or a missing-plugin message
    bool typeNotFound = false;  //!< typefinding or decoder lookup failed
    bool outputFailed = false;  //!< the sound device could not be opened or written
    bool isHttp = false;        //!< the address is http(s)
    bool sawResponse = false;   //!< the HTTP source got a status line
    int httpStatus = 0;
    QByteArray contentType; //!< of the HTTP response, if any
    QByteArray missingCaps; //!< media type name GStreamer had no element for
};

//! What to do about a failed attempt that never played.
struct FailureVerdict
{
    PlayerError error = PlayerError::Other;
    bool tryAsPlaylist = false; //!< the body may be a playlist: fetch and parse it
    bool diagnose = false;      //!< no HTTP response: find out why by connecting ourselves
};

[[nodiscard]] FailureVerdict classifyFailure(const FailureFacts& facts);

} // namespace qiravon
