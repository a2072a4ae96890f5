#pragma once

// What kelvaro-compose tells on standard error: one language throughout
// (Japanese under a Japanese locale, English otherwise), each message saying
// what failed, on which file and why.

#include "platform/error.h"
#include "platform/file_io.h"
#include "settings/command_options.h"

#include <iosfwd>
#include <string>

namespace kelvaro::cli {

// Standard error in the run's language.
class Messages {
public:
    Messages(std::ostream& err, Language language) : err_(err), language_(language) {}

    Language In() const { return language_; }
    bool Japanese() const { return language_ == Language::Japanese; }

    // "kelvaro-compose: " and the text, each line break a plain line feed.
    void Say(const std::string& text) const;
    void Say(const Words& words) const { Say(words.In(language_)); }

    // A usage error: one line and where the usage is told. Returns 2.
    int Usage(const Words& problem) const;

    // A failure: its cause and its file ("ファイルが見つかりません: a.ref"). Returns 1.
    int Failure(const RuntimeError& failure) const;

private:
    std::ostream& err_;
    Language language_;
};

// What a start finished of a write a killed run left, in both languages.
Words ResumedWriteWords(const ResumedWrite& resumed);

// The cause of a failure in `language`, and the file it concerns after ": ".
std::string FailureLine(const RuntimeError& failure, Language language);

} // namespace kelvaro::cli
