#pragma once
// The remembered port: a port number 1..35 in the user's settings (QSettings,
// ~/.config/qrn4480/qrn4480-editor.conf, key "port"); 0 means none, which no
// port accepts. Earlier versions kept it in init.cfg in the folder the program
// was started from: a signed 16-bit little-endian integer in the file's first
// two bytes. While the settings hold no port, that file is still read and its
// number carried over, so nothing a user had is lost; it is never written.
#include <cstdint>
#include <optional>
#include <string>

namespace connection {

// The settings' port, else the port in the old init.cfg at `initConfigPath`
// (carried over into the settings), else 0.
std::int16_t ReadStoredPortNumber(const std::string& initConfigPath);
// False when the settings could not be written. A typed port (below) of
// another number is forgotten: the device was found elsewhere.
bool WriteStoredPortNumber(std::int16_t portNumber);

// A port the user typed in Device > Connect... (a device path or
// tcp://host:port) rather than one the table names: remembered with the
// number it was given (key "portPath" beside "port"), and put back into
// the table at that number at the next start, so it is probed first as a
// found port is.
struct TypedPort {
    std::int16_t number = 0;
    std::string path;
};
std::optional<TypedPort> ReadTypedPort();
// The typed port and its number as the remembered port.
bool WriteTypedPort(const TypedPort& port);

}  // namespace connection
