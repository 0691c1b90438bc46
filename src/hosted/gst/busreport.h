#pragma once

#include "hosted/gst/streamfailure.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The same typedef as GStreamer's, so this header needs none of its headers.
typedef struct _GstMessage GstMessage; // NOLINT(modernize-use-using)

namespace qiravon::gst {

//! What one bus message told, in plain values: the player's policy never sees a GStreamer type.
struct BusReport
{
    enum class Kind
    {
        Error,         //!< the pipeline failed; `failure` and the texts say how
        EndOfStream,   //!< the stream ended; `finite` says whether it ended complete
        Buffering,     //!< `bufferPercent` of the network queue is filled
        Tags,          //!< `title` and `bitrateKbps`, where the stream told them
        MissingPlugin, //!< `failure.missingCaps` has no element; `missingPlugin` names it
        HttpHeaders,   //!< `failure.sawResponse`, `httpStatus` and `contentType` of a response
        LocalRefused,  //!< a source would have opened something local; `errorText` names it
    };
    Kind kind = Kind::Error;
    int bufferPercent = 0;
    //! EndOfStream: a finite stream's end (an HTTP body read to its Content-Length, an
    //! adaptive playlist's last segment), not a server that hung up.
    bool finite = false;
    std::optional<QString> title;
    int bitrateKbps = 0;
    QString missingPlugin;
    //! Only the fields this message speaks of are set.
    FailureFacts failure;
    QString errorText; //!< GStreamer's message, for the log
    QString debugText; //!< GStreamer's debug detail (element, file, reason), for the log
};

//! Decodes a message the player acts on; nothing for any other kind, or for tags that name
//! neither a title nor a bitrate. Safe on any thread: the bus's streaming threads call it.
[[nodiscard]] std::optional<BusReport> decodeBusMessage(GstMessage* message);

} // namespace qiravon::gst
