#pragma once

#include <QString>

namespace mitoon::fileio {

// How a file operation went: a success, or a failure with the errno behind it (0 for a reason
// of the program's own, such as a FIFO where a file belongs), the system's reason in Japanese,
// and the message the user is shown, which names the file and gives that reason.
class Result
{
public:
    // A success.
    Result() = default;
    // A failure for `error`, its reason in the system's words (systemErrorText).
    static Result failure(int error);
    static Result failure(int error, const QString &reason);

    bool ok() const { return !failed_; }
    int error() const { return error_; }
    const QString &reason() const { return reason_; }
    // Empty until the operation that knows the file has told it (withMessage).
    const QString &message() const { return message_; }

    // The same failure with the message the user is shown; a success stays a success.
    Result withMessage(const QString &message) const;

private:
    bool failed_ = false;
    int error_ = 0;
    QString reason_;
    QString message_;
};

} // namespace mitoon::fileio
