#pragma once
// A pseudo-terminal pair in raw mode: the master end is the device's side of
// the cable, the slave path is the port the editor opens.
#include <string>

namespace sim {

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal();

    bool open(std::string* error);
    void close();

    int masterFd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

private:
    int master_ = -1;
    // Held open for the whole run: when the last slave descriptor closes the
    // master reads EIO and hangs up, and the editor closes and reopens its
    // port (to change its receive size) in the middle of a session.
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace sim
