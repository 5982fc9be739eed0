#pragma once
// The remembered port: a port number 1..35 in the user's settings (QSettings,
// ~/.config/qrn4480/qrn4480-editor.conf, key "port"); 0 means none, which no
// port accepts. Earlier versions kept it in init.cfg in the folder the program
// was started from: a signed 16-bit little-endian integer in the file's first
// two bytes. While the settings hold no port, that file is still read and its
// number carried over, so nothing a user had is lost; it is never written.
#include <cstdint>
#include <string>

namespace connection {

// The settings' port, else the port in the old init.cfg at `initConfigPath`
// (carried over into the settings), else 0.
std::int16_t ReadStoredPortNumber(const std::string& initConfigPath);
// False when the settings could not be written.
bool WriteStoredPortNumber(std::int16_t portNumber);

}  // namespace connection
