#pragma once

#include <QString>

namespace mitoon {

// The system's reason for a failed file operation, in Japanese, from an errno value.
QString systemErrorText(int errorNumber);

} // namespace mitoon
