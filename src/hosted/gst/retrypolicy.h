#pragma once

namespace qiravon {

//! Failed attempts in a row on one playlist entry, once the address has played, before the
//! next entry is tried.
constexpr int kAttemptsPerEntry = 3;

//! Where a failed attempt leaves the player.
struct RetryFacts
{
    bool everPlayed = false;   //!< the address has played since it was set
    bool fromPlaylist = false; //!< the stream is a playlist's entry; the playlist can be fetched
    bool refused = false;      //!< a refusal (a local file) that no retry can mend
    //! Failed attempts in a row on this entry since it last played, this one included; 0 when
    //! this attempt played and then dropped.
    int failedAttempts = 0;
    bool hasNextEntry = false; //!< an entry is left to try, within the cap on entries
};

enum class RetryStep
{
    Reconnect,          //!< the same entry (or playlist) again
    NextEntry,          //!< the playlist's next entry
    FetchPlaylistAgain, //!< the playlist anew: tokenised addresses expire
    GiveUp,             //!< show the failure; nothing more is tried
};

//! What to try after a failed attempt. Before the address has played, each entry is tried
//! once and the last failure is final; once it has played, a failure means the station is
//! away for a while, and the player works through the entry, the others, and a fresh copy of
//! the playlist, for as long as the user lets it, with the reconnect delays between tries.
[[nodiscard]] RetryStep nextRetryStep(const RetryFacts& facts);

} // namespace qiravon
