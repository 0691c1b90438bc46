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
//! The folder of the shipped catalogue in the source tree, with a trailing separator.
QString shippedDataDir();

} // namespace qiravon::test
