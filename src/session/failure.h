#pragma once

// Failure reporting: every command's failure ends in one message that tells
// the number, the file and the cause.

#include "host/host.h"
#include "platform/error.h"
#include "platform/file_io.h"

#include <exception>
#include <string>

namespace kelvaro {

struct Session;

// The three-line message for every failure that is not a cancelled dialog.
std::string UnexpectedErrorText(int errorNumber);

// The message of a failure: the three lines of UnexpectedErrorText and a fourth
// that names the file and the cause, "（/home/u/ReadMe.txt: ディスクの空き容量が
// 足りません）", or the cause alone when no file is concerned.
std::string FailureText(const RuntimeError& error);

// The one message box every command shows for a failure: "キャンセルされました。"
// for a cancelled dialog, FailureText otherwise.
void ReportFailure(Session& s, const RuntimeError& error);

// The number a failure that is not a RuntimeError is shown with.
int FailureNumber(const std::exception& error);

// What a start says about a write in place that a kill had cut short: finished
// now, or where its new content was kept when the file had become another.
std::string ResumedWriteText(const ResumedWrite& resumed);
// That failure as a RuntimeError with its number and, for memory, its cause.
RuntimeError FailureFromException(const std::exception& error);

// Runs a command's work so that every failure ends in the one failure message
// and nothing escapes into the window's event loop.
template <typename Work> void RunReportingFailures(Session& s, Work&& work) {
    try {
        work();
    } catch (const RuntimeError& error) {
        ReportFailure(s, error);
    } catch (const std::exception& error) {
        ReportFailure(s, FailureFromException(error));
    }
}

} // namespace kelvaro
