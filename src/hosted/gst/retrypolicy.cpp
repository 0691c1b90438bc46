#include "hosted/gst/retrypolicy.h"

namespace qiravon {

RetryStep nextRetryStep(const RetryFacts& f)
{
    if (f.refused || !f.everPlayed)
        return f.hasNextEntry ? RetryStep::NextEntry : RetryStep::GiveUp;
    if (f.failedAttempts < kAttemptsPerEntry)
        return RetryStep::Reconnect;
    if (f.hasNextEntry)
        return RetryStep::NextEntry;
    return f.fromPlaylist ? RetryStep::FetchPlaylistAgain : RetryStep::Reconnect;
}

} // namespace qiravon
