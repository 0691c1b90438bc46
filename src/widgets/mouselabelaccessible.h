#pragma once

namespace qiravon {

//! Lets assistive technologies see a MouseLabel for what it is: a button that their press
//! action clicks, a text, or a picture. Safe to call more than once.
void installMouseLabelAccessibility();

} // namespace qiravon
