#pragma once
// What the program's exit code tells a script. Every failure kind has its
// own code, and --help and the manual page list them.
namespace cli {

enum class ExitStatus {
    Done = 0,
    NoDevice = 1,     // no port, no answer, or the device stopped answering
    Usage = 2,        // the command line is not one the program understands
    FileError = 3,    // a file that could not be read or written
    Refused = 4,      // a value out of range, a damaged file, an automatic row, a write not confirmed
    Interrupted = 5,  // Ctrl+C or SIGTERM before everything asked for was done
};

inline int ExitCode(ExitStatus status) { return static_cast<int>(status); }

}  // namespace cli
