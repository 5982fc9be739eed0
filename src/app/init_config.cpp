#include "app/init_config.h"

#include <QSettings>
#include <fstream>

namespace app {
namespace {

constexpr char kPortKey[] = "port";

}  // namespace

std::int16_t ReadInitConfigFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char bytes[2] = {0, 0};
    if (!file.read(reinterpret_cast<char*>(bytes), 2)) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}

std::int16_t ReadStoredPortNumber(const std::string& initConfigPath) {
    QSettings settings;
    bool isNumber = false;
    const int stored = settings.value(kPortKey).toInt(&isNumber);
    if (settings.contains(kPortKey)) {
        // Hand-edited settings: what is no 16-bit number is no port.
        if (!isNumber || stored < INT16_MIN || stored > INT16_MAX) return 0;
        return static_cast<std::int16_t>(stored);
    }
    const std::int16_t old = ReadInitConfigFile(initConfigPath);
    if (old != 0) settings.setValue(kPortKey, old);
    return old;
}

bool WriteStoredPortNumber(std::int16_t portNumber) {
    QSettings settings;
    settings.setValue(kPortKey, portNumber);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace app
