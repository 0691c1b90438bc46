#include "hosted/web/pagetitle.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

// Where an HTML parser looks for a declared encoding before it starts on the document.
constexpr qsizetype kPrescanBytes = 1024;

QByteArray bomEncoding(const QByteArray& head)
{
    if (head.startsWith("\xEF\xBB\xBF"))
        return "UTF-8";
    if (head.startsWith("\xFF\xFE"))
        return "UTF-16LE";
    if (head.startsWith("\xFE\xFF"))
        return "UTF-16BE";
    return {};
}

QByteArray declaredEncoding(const QByteArray& head)
{
    // <meta charset="x"> and <meta http-equiv="Content-Type" content="text/html; charset=x">
    // both put "charset" before the name inside a meta tag.
    static const QRegularExpression meta(
        uR"(<meta\b[^>]*?\bcharset\s*=\s*["']?\s*([A-Za-z0-9._:\-]+))"_s,
        QRegularExpression::CaseInsensitiveOption);
    const QString ascii = QString::fromLatin1(head.left(kPrescanBytes));
    const QRegularExpressionMatch match = meta.match(ascii);
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

std::optional<QString> decode(const QByteArray& bytes, const QByteArray& encoding)
{
    QStringDecoder decoder(encoding.constData());
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    return text;
}

QString decodeHead(const QByteArray& head)
{
    if (QByteArray bom = bomEncoding(head); !bom.isEmpty())
        return decode(head, bom).value_or(QString());
    // A page that declares a UTF-16 charset in ASCII bytes is not UTF-16; browsers read it
    // as UTF-8.
    QByteArray declared = declaredEncoding(head);
    if (declared.toLower().startsWith("utf-16"))
        declared = "UTF-8";
    if (!declared.isEmpty()) {
        if (auto text = decode(head, declared))
            return *text;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    // The scan may end inside a character; only what comes before counts.
    const QString text = utf8.decode(head);
    if (!utf8.hasError())
        return text;
    return decode(head, "GB18030").value_or(text);
}

QString resolveReferences(const QString& text)
{
    static const QRegularExpression reference(u"&(#[0-9]{1,7}|#[xX][0-9A-Fa-f]{1,6}|[A-Za-z]+);"_s);
    QString out;
    qsizetype done = 0;
    for (QRegularExpressionMatchIterator it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        QString replacement;
        if (name.startsWith(u'#')) {
            bool ok = false;
            const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
            const uint code = QStringView(name).mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            // A reference to nothing or to a surrogate half reads as the replacement character.
            const bool valid =
                ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
            const char32_t ch = valid ? char32_t(code) : U'\uFFFD';
            replacement = QString::fromUcs4(&ch, 1);
        } else if (name == u"amp"_s) {
            replacement = u"&"_s;
        } else if (name == u"lt"_s) {
            replacement = u"<"_s;
        } else if (name == u"gt"_s) {
            replacement = u">"_s;
        } else if (name == u"quot"_s) {
            replacement = u"\""_s;
        } else if (name == u"apos"_s) {
            replacement = u"'"_s;
        } else if (name == u"nbsp"_s) {
            replacement = QChar(0x00A0);
        } else {
            // Other named references are rare in titles; the engine resolves them once it runs.
            continue;
        }
        out += QStringView(text).mid(done, m.capturedStart() - done);
        out += replacement;
        done = m.capturedEnd();
    }
    out += QStringView(text).mid(done);
    return out;
}

QString collapseAsciiWhitespace(const QString& text)
{
    static const QRegularExpression runs(u"[\\t\\n\\f\\r ]+"_s);
    QString out = text;
    out.replace(runs, u" "_s);
    if (out.startsWith(u' '))
        out.remove(0, 1);
    if (out.endsWith(u' '))
        out.chop(1);
    return out;
}

} // namespace

std::optional<QString> pageTitle(const QByteArray& head)
{
    const QString text = decodeHead(head.left(kPageTitleScanBytes));
    static const QRegularExpression open(u"<title(?:\\s[^>]*)?>"_s,
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch start = open.match(text);
    if (!start.hasMatch())
        return std::nullopt;
    const qsizetype end = text.indexOf(u"</title"_s, start.capturedEnd(), Qt::CaseInsensitive);
    if (end < 0)
        return std::nullopt;
    const QString title = collapseAsciiWhitespace(
        resolveReferences(text.mid(start.capturedEnd(), end - start.capturedEnd())));
    if (title.isEmpty())
        return std::nullopt;
    return title;
}

std::optional<QString> readLocalPageTitle(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    // Opening a device may do something by itself (a tape rewinds, a modem dials), so only a
    // name that is a regular file now is opened at all.
    struct stat info
    {
    };
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    // Opening without blocking and checking the opened file, not the name, keeps a FIFO or a
    // device swapped in under the name meanwhile from ever being read.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return pageTitle(file.read(kPageTitleScanBytes));
}

} // namespace qiravon
