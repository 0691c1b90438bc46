#pragma once

namespace qiravon {

//! Lets assistive technologies see a LinkLabel as one link named by its caption, which
//! their press action clicks. Safe to call more than once.
void installLinkLabelAccessibility();

} // namespace qiravon
