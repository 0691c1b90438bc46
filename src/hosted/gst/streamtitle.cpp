#include "hosted/gst/streamtitle.h"

namespace qiravon {

namespace {

bool breaksLine(char32_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == 0x85 ||
           c == 0x2028 || c == 0x2029;
}

bool isHidden(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate: // a lone half of a pair: the decoder saw broken text
        return true;
    default:
        return false;
    }
}

} // namespace

QString displayTitle(QStringView raw)
{
    QString kept;
    kept.reserve(qMin(raw.size(), kMaxTitleChars * 2 + 2));
    qsizetype chars = 0;
    bool cut = false;
    bool pendingSpace = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        char32_t c = raw[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < raw.size() && raw[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(raw[i], raw[i + 1]);
            ++i;
        }
        if (breaksLine(c) || QChar::isSpace(c)) {
            pendingSpace = !kept.isEmpty();
            continue;
        }
        // A surrogate left alone here is half of a broken pair; its category drops it.
        if (isHidden(c))
            continue;
        if (chars + (pendingSpace ? 1 : 0) >= kMaxTitleChars) {
            cut = true;
            break;
        }
        if (pendingSpace) {
            kept += u' ';
            ++chars;
            pendingSpace = false;
        }
        if (QChar::requiresSurrogates(c)) {
            kept += QChar(QChar::highSurrogate(c));
            kept += QChar(QChar::lowSurrogate(c));
        } else {
            kept += QChar(static_cast<char16_t>(c));
        }
        ++chars;
    }
    if (cut)
        kept += u'…';
    return kept;
}

} // namespace qiravon
