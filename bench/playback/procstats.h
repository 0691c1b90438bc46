#pragma once

#include <QList>
#include <QtGlobal>

namespace qiravon::bench {

//! CPU time all threads of `pid` have used so far, in seconds, to the nanosecond (the
//! scheduler's own count, not clock ticks); -1 when the process is gone.
double cpuSecondsOf(qint64 pid);
//! Proportional set size of `pid` in kB (its share of pages it shares), or -1.
qint64 pssKbOf(qint64 pid);
//! `pid` and every process it started, directly or not.
QList<qint64> processTree(qint64 pid);

} // namespace qiravon::bench
