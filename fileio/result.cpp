#include "fileio/result.h"

#include "fileio/systemerror.h"

namespace mitoon::fileio {

Result Result::failure(int error)
{
    return failure(error, systemErrorText(error));
}

Result Result::failure(int error, const QString &reason)
{
    Result result;
    result.failed_ = true;
    result.error_ = error;
    result.reason_ = reason;
    return result;
}

Result Result::withMessage(const QString &message) const
{
    Result result = *this;
    if (failed_)
        result.message_ = message;
    return result;
}

} // namespace mitoon::fileio
