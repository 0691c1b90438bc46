#pragma once

#include <QString>

namespace qiravon {

//! A failure that reaches the user: a run-time error number with its description, and the
//! file it concerns, if any.
struct RuntimeError
{
    int number = 0;
    QString description;
    QString path;

    //! "File not found" (53) for `path`.
    static RuntimeError fileNotFound(const QString& path);
    //! The number and text that fit a file that exists but cannot be opened or read.
    static RuntimeError fileAccess(const QString& path, const QString& reason);
    //! One line for a message box or stderr: number, description and path.
    [[nodiscard]] QString message() const;
};

//! Shows a failure to the user. Called on the UI thread.
class IErrorReporter
{
public:
    virtual ~IErrorReporter() = default;
    //! Returns when the user has dismissed the report.
    virtual void report(const RuntimeError& error) = 0;
};

} // namespace qiravon
