#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qiravon::test {

//! `text` in GBK, as the catalogue files are written.
QByteArray gbk(const QString& text);
//! Writes `bytes` to `path`; fails the running test when it cannot.
bool writeFile(const QString& path, const QByteArray& bytes);
//! Writes `lines` as a GBK file with CR LF line ends.
bool writeCatalogue(const QString& path, const QStringList& lines);
//! Writes the region map of a test catalogue: one region per line, "地区1" to "地区35".
bool writeRegionMap(const QString& path);
//! The folder of the shipped catalogue in the source tree, with a trailing separator.
QString shippedDataDir();

} // namespace qiravon::test
