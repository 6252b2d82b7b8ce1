#pragma once

#include <stdexcept>

namespace mitoon {

// A run-time failure while looking for the system-information tool. Whatever raises it, the
// launcher answers with its one message.
class SysInfoError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace mitoon
