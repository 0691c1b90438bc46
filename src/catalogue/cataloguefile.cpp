#include "cataloguefile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace qiravon {

CatalogueFile CatalogueFile::read(const QString& path)
{
    QFile file(path);
    if (!QFileInfo::exists(path))
        return {{}, RuntimeError::fileNotFound(path)};
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return {{}, RuntimeError::fileAccess(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, RuntimeError::fileAccess(path, file.errorString())};
    return {decodeCatalogueLines(bytes), std::nullopt};
}

QStringList decodeCatalogueLines(const QByteArray& bytes)
{
    QStringList lines;
    QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
    const auto decodeLine = [&](qsizetype from, qsizetype to) {
        lines.append(decoder.decode(QByteArrayView(bytes).sliced(from, to - from)));
    };
    // CR and LF are never trail bytes of a double-byte character, so the raw bytes can be
    // split before decoding.
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (bytes[i] != '\r')
            continue;
        decodeLine(start, i);
        if (i + 1 < size && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        decodeLine(start, size);
    return lines;
}

} // namespace qiravon
