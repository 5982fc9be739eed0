#pragma once
// Where the program's words go. Results go to standard output, as text or,
// with --json, as one JSON object per line and nothing else; errors go to
// standard error (and, with --json, out as an "error" object too); progress
// goes to standard error only when a person watches it there.
#include <QString>
#include <ostream>

#include "cli/exit_status.h"
#include "cli/json_line.h"

namespace cli {

struct ConsoleMode {
    bool json = false;
    bool quiet = false;
    bool progressShown = false;  // standard error is a terminal
};

class Console {
public:
    Console(std::ostream& out, std::ostream& err, ConsoleMode mode) : out_(out), err_(err), mode_(mode) {}

    // A result: the text line, or the JSON object with --json.
    void result(const QString& text, const JsonLine& json);
    // A result with no text form (search start and stop).
    void event(const JsonLine& json);
    // Replaces the last progress line on the terminal; the same line again
    // is left as it is.
    void progress(const QString& text);
    // Says why and returns the status, for `return console.fail(...)`.
    ExitStatus fail(ExitStatus status, const QString& message);
    // A note for the person at the terminal (never on standard output).
    void note(const QString& text);

    bool json() const { return mode_.json; }

private:
    void endProgress();

    std::ostream& out_;
    std::ostream& err_;
    ConsoleMode mode_;
    bool progressOpen_ = false;
    QString lastProgress_;
};

}  // namespace cli
