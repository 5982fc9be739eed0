#pragma once
// One port named on a command line (--port), for the editor and the
// command-line tool alike, so the same words name the same port in both.
#include <QString>
#include <string>

namespace connection {

// A network port as given; a local path that exists here made absolute, as
// the serial port would read a relative path as a name under /dev.
std::string NamedPortPath(const QString& given);

}  // namespace connection
