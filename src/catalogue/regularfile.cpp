#include "catalogue/regularfile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

RuntimeError openError(const QString& path, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return RuntimeError::fileNotFound(path);
    return RuntimeError::fileAccess(path, qt_error_string(error));
}

RuntimeError notRegular(const QString& path)
{
    return RuntimeError::fileAccess(path, u"not a regular file"_s);
}

RuntimeError tooLarge(const QString& path, qint64 maxBytes)
{
    return RuntimeError::fileAccess(
        path, u"larger than %1 MiB, more than a catalogue can hold"_s.arg(maxBytes >> 20));
}

// Closes the descriptor on every way out.
struct Descriptor
{
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

FileBytes readRegularFile(const QString& path, qint64 maxBytes)
{
    const QByteArray native = QFile::encodeName(path);
    // Looked at before opening: opening a FIFO for reading waits for a writer, and opening a
    // device may do anything the device likes.
    struct stat info = {};
    if (::stat(native.constData(), &info) != 0)
        return {{}, openError(path, errno)};
    if (!S_ISREG(info.st_mode))
        return {{}, notRegular(path)};

    // The file can be swapped between the look and the open. Without O_NONBLOCK a FIFO put
    // there meanwhile would still block the open; with it the open returns, and what was
    // opened is judged again by its descriptor.
    Descriptor file;
    do {
        file.fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (file.fd < 0 && errno == EINTR);
    if (file.fd < 0)
        return {{}, openError(path, errno)};
    if (::fstat(file.fd, &info) != 0)
        return {{}, RuntimeError::fileAccess(path, qt_error_string(errno))};
    if (!S_ISREG(info.st_mode))
        return {{}, notRegular(path)};
    if (info.st_size > maxBytes)
        return {{}, tooLarge(path, maxBytes)};

    // The size is only a hint: the file may grow while it is read, and some regular files
    // (those of /proc) report none. The cap holds for what is really read.
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(info.st_size));
    constexpr qsizetype kChunk = 64 * 1024;
    for (;;) {
        const qsizetype room =
            static_cast<qsizetype>(std::min<qint64>(kChunk, maxBytes + 1 - bytes.size()));
        const qsizetype before = bytes.size();
        bytes.resize(before + room);
        const ssize_t got = ::read(file.fd, bytes.data() + before, static_cast<size_t>(room));
        if (got < 0 && errno == EINTR) {
            bytes.resize(before);
            continue;
        }
        if (got < 0) {
            const int error = errno;
            return {{}, RuntimeError::fileAccess(path, qt_error_string(error))};
        }
        bytes.resize(before + got);
        if (got == 0)
            break;
        if (bytes.size() > maxBytes)
            return {{}, tooLarge(path, maxBytes)};
    }
    return {bytes, std::nullopt};
}

} // namespace qiravon
