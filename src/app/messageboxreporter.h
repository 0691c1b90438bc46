#pragma once

#include "common/runtimeerror.h"

namespace qiravon {

//! The desktop's reporter: a modal message box, with the same text on stderr.
class MessageBoxReporter final : public IErrorReporter
{
public:
    void report(const RuntimeError& error) override;
};

} // namespace qiravon
