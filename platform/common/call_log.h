// Entries of the platform call log, built only while a test runs the log so
// that blits pay one branch when it is off.
#pragma once

#include <string>
#include <string_view>

#include "common/diagnostics.h"

namespace platform {

inline void LogCall(std::string_view method)
{
    if (diagnostics::CallLogEnabled()) diagnostics::LogCall(std::string(method));
}

// The detail stays a plain string until the log is on: blits log their
// surface's role on every call.
inline void LogCall(std::string_view method, const char* detail)
{
    if (!diagnostics::CallLogEnabled()) return;
    std::string entry(method);
    entry += '(';
    entry += detail;
    entry += ')';
    diagnostics::LogCall(std::move(entry));
}

} // namespace platform
