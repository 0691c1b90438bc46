#include "catalogue/cataloguefile.h"

#include "catalogue/log.h"
#include "catalogue/regularfile.h"

#include <QStringDecoder>
#include <algorithm>
#include <utility>

// A fuzzing build shrinks the blocks, so that small inputs cross many of their boundaries.
#ifndef QIRAVON_CATALOGUE_BLOCK_BYTES
#define QIRAVON_CATALOGUE_BLOCK_BYTES (64 * 1024)
#endif

using namespace Qt::StringLiterals;

namespace qiravon {

std::optional<RuntimeError>
CatalogueFile::forEachLine(const QString& path, const std::function<void(const QString&)>& line)
{
    // Checked once per run: without a working decoder every line would read as empty text
    // and the catalogue would look loaded.
    static const std::optional<RuntimeError> decoderError = checkCatalogueDecoder();
    if (decoderError) {
        RuntimeError error = *decoderError;
        error.path = path;
        return error;
    }
    // Read whole and closed before the lines are handed on: no catalogue file stays open
    // while rows are added.
    const FileBytes file = readRegularFile(path);
    if (file.error)
        return file.error;
    qCDebug(lcCatalogue) << "read" << path << file.bytes.size() << "bytes";
    forEachCatalogueLine(file.bytes, line);
    return std::nullopt;
}

CatalogueFile CatalogueFile::read(const QString& path)
{
    CatalogueFile result;
    result.error = forEachLine(path, [&](const QString& line) { result.lines.append(line); });
    return result;
}

namespace {

bool isLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

bool isTrailByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE);
}

// Whether the line stops between a lead byte and its trail byte.
bool endsInsideCharacter(QByteArrayView line)
{
    if (line.isEmpty() || !isLeadByte(line.back()))
        return false;
    qsizetype i = 0;
    while (i < line.size() - 1)
        i += isLeadByte(line[i]) && isTrailByte(line[i + 1]) ? 2 : 1;
    return i == line.size() - 1;
}

} // namespace

std::optional<RuntimeError> checkCatalogueDecoder(const char* codec)
{
    // 中文|北京億 in GBK; 億 (0x83 0x7C) is outside GB2312 and ends in the byte of '|', so only
    // a real GBK decoder gets the whole text right.
    const QByteArray known("\xD6\xD0\xCE\xC4|\xB1\xB1\xBE\xA9\x83\x7C");
    const QString expected = u"中文|北京億"_s;
    QStringDecoder decoder(codec, QStringDecoder::Flag::Stateless);
    if (decoder.isValid() && decoder.decode(known) == expected && !decoder.hasError())
        return std::nullopt;
    qCCritical(lcCatalogue) << "no usable text decoder for" << codec;
    return RuntimeError{
        48,
        u"Error in loading DLL: no working %1 text decoder, so the catalogue files cannot be "
        u"read (a Qt built without ICU has none)"_s.arg(QString::fromLatin1(codec)),
        {}};
}

void forEachCatalogueLine(const QByteArray& bytes, const std::function<void(const QString&)>& line)
{
    // CR and LF are never part of a double-byte character, and the decoder resumes at any
    // byte below 0x40 after a broken sequence, so decoding many whole lines at once and then
    // splitting the text gives the same lines as splitting the raw bytes first. One decoder
    // call per block instead of per line halves the cost of a large catalogue.
    constexpr qsizetype kBlockBytes = QIRAVON_CATALOGUE_BLOCK_BYTES;
    const QByteArrayView all(bytes);
    const qsizetype size = all.size();
    QStringDecoder decoder(kCatalogueCodec, QStringDecoder::Flag::Stateless);
    const qsizetype lastEnd = bytes.lastIndexOf('\r');
    qsizetype lastLineStart = lastEnd + 1;
    if (lastEnd >= 0 && lastLineStart < size && all[lastLineStart] == '\n')
        ++lastLineStart;

    qsizetype blockStart = 0;
    while (blockStart < size) {
        qsizetype blockEnd = std::min(blockStart + kBlockBytes, size);
        if (blockEnd < size) {
            // Stretch the block to the end of the line it cuts into.
            const qsizetype cr = bytes.indexOf('\r', blockEnd - 1);
            blockEnd = cr < 0 ? size : cr + 1;
            if (blockEnd < size && all[blockEnd] == '\n')
                ++blockEnd;
        }
        const QString text = decoder.decode(all.sliced(blockStart, blockEnd - blockStart));
        qsizetype start = 0;
        for (qsizetype cr = text.indexOf(u'\r'); cr >= 0; cr = text.indexOf(u'\r', start)) {
            line(text.sliced(start, cr - start));
            start = cr + 1 < text.size() && text[cr + 1] == u'\n' ? cr + 2 : cr + 1;
        }
        // Only the file's last line can lack a line end. Whether there is one is a question
        // for the bytes: a line of a single broken character decodes to nothing.
        if (blockEnd == size && lastLineStart < size) {
            QString last = text.sliced(start);
            // The stateless decoder silently drops a lead byte cut off by the end of the file;
            // mark it like any other malformed sequence so the damage stays visible.
            if (endsInsideCharacter(all.sliced(lastLineStart)))
                last.append(QChar::ReplacementCharacter);
            line(last);
        }
        blockStart = blockEnd;
    }
}

QStringList decodeCatalogueLines(const QByteArray& bytes)
{
    QStringList lines;
    forEachCatalogueLine(bytes, [&](const QString& line) { lines.append(line); });
    return lines;
}

} // namespace qiravon
