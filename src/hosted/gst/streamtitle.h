#pragma once

#include <QString>
#include <QStringView>

namespace qiravon {

//! The longest stream title shown, in characters; longer ones end in an ellipsis.
constexpr qsizetype kMaxTitleChars = 120;

//! A stream title as the status line may show it: line breaks and tabs become spaces, control
//! and format characters (bidi overrides and isolates, zero-width marks, BOMs) are dropped,
//! whitespace runs fold into one, and the result is capped at kMaxTitleChars. Stations write
//! whatever they like into a title; none of it may reorder or hide the text around it.
[[nodiscard]] QString displayTitle(QStringView raw);

} // namespace qiravon
