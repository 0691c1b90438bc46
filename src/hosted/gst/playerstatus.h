#pragma once

#include <QString>

namespace qiravon {

//! What the player is doing, as far as the status line cares.
enum class PlayerPhase
{
    Idle,       //!< nothing was ever asked of it
    Connecting, //!< opening the address or fetching its playlist
    Buffering,  //!< connected, waiting for data
    Playing,    //!< audio reaches the output
    Retrying,   //!< the stream dropped or stalled; a new attempt is scheduled
    Stopped,    //!< an empty address was set, or a finite stream ended
    Failed,     //!< the address cannot be played; see PlayerError
};

//! Why an address cannot be played.
enum class PlayerError
{
    None,
    Refused,          //!< nothing listens on that port
    HostNotFound,     //!< the name does not resolve
    NotFound,         //!< HTTP 404
    HttpStatus,       //!< any other HTTP failure; the code is in PlayerState::httpStatus
    Timeout,          //!< the server did not answer in time
    NotAudio,         //!< a web page or other text came back instead of a stream
    Unsupported,      //!< a stream GStreamer cannot demux or decode
    MissingPlugin,    //!< GStreamer knows the format but the plug-in is not installed
    MmsUnsupported,   //!< mms:// has no GStreamer source on Linux
    InvalidAddress,   //!< not a URL at all
    EmptyPlaylist,    //!< the playlist names nothing playable
    PlaylistTooLarge, //!< the playlist exceeds the size cap
    AudioOutput,      //!< the sound device cannot be opened
    PlaylistRefused,  //!< the playlist declares a document type or entities
    LocalAccess,      //!< a network stream asked to open a local file or device; refused
    RedirectLoop,     //!< the server redirects in a circle, or too many times
    PlaylistLoop,     //!< the playlist names itself, or playlists nest past the limit
    ProxyRefused,     //!< the proxy server refuses connections
    ProxyNotFound,    //!< the proxy server's name does not resolve
    Other,
};

//! Everything the status text is made from; a value type so the wording can be tested alone.
struct PlayerState
{
    PlayerPhase phase = PlayerPhase::Idle;
    PlayerError error = PlayerError::None;
    int bufferPercent = 0;
    int bitrateKbps = 0;   //!< 0 when the stream has not told it yet
    int httpStatus = 0;    //!< for PlayerError::HttpStatus
    int retrySeconds = 0;  //!< for PlayerPhase::Retrying
    bool ended = false;    //!< for PlayerPhase::Stopped: a finite stream played to its end
    QString title;         //!< the stream's current title (ICY StreamTitle, Vorbis comment, ID3)
    QString missingPlugin; //!< GStreamer's own description of what is missing
};

//! The short Chinese display text for a state; empty for PlayerPhase::Idle.
[[nodiscard]] QString statusText(const PlayerState& state);

//! The delay before reconnect attempt `attempt` (0-based): 1 s, 2 s, 4 s … capped at 60 s.
[[nodiscard]] int reconnectDelaySeconds(int attempt);

} // namespace qiravon
