#pragma once

#include <QString>

namespace qiravon::bench {

//! The child side: plays `url` with the real player on a synchronising fakesink and prints
//! "first=<ms> playing=<ms>" measured from setURL(); then, if `switchTo` is set, the same for
//! a second address in the same process as "switch_first=… switch_playing=…". With
//! `holdSeconds` it keeps playing that long before it exits; `idleMs` is how long it waits
//! after start-up before it plays, as a user who double-clicks once the window is up. Returns the
//! exit code.
int runPlayer(const QString& url, const QString& switchTo, int holdSeconds, int idleMs);

} // namespace qiravon::bench
