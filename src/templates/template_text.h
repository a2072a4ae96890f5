#pragma once

// What the two template commands share: how a template's lines reach a box, and
// how a failure reaches the user. Internal to src/templates.

#include "app/session.h"
#include "platform/error.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvaro {

// A template read the way the boxes show it: every line, the last one included,
// ends with CR LF. A line ends at CR LF or at a lone CR; a lone LF is part of its
// line, as it was for the line input the set was written for. Empty stays empty.
std::string WithLineEnds(std::string_view text);

// The number a failure that is not a RuntimeError is shown with.
inline int FailureNumber(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr ||
        dynamic_cast<const std::length_error*>(&error) != nullptr) {
        return ErrorNo::OutOfMemory;
    }
    return ErrorNo::PathFileAccess;
}

// Runs a command's work so that every failure ends in the one failure message
// and nothing escapes into the window's event loop.
template <typename Work> void RunReportingFailures(Session& s, Work work) {
    try {
        work();
    } catch (const RuntimeError& error) {
        ReportFailure(s, error);
    } catch (const std::exception& error) {
        ReportFailure(s, RuntimeError(FailureNumber(error)));
    }
}

} // namespace kelvaro
