#pragma once

#include <QString>

namespace qiravon {

//! The folder of the catalogue and the start page for a program in `programDir`, ending
//! with a separator: `data` beside the program, as in the build tree, else `installedData`
//! taken from the program's folder (the installed layout's share/qiravon/data). When neither
//! is there, the folder beside, so a missing file is reported where it is usually looked for.
[[nodiscard]] QString locateDataDir(const QString& programDir, const QString& installedData);

} // namespace qiravon
