#include "connection/init_config.h"

#include <QSettings>

#include "connection/init_config_file.h"

namespace connection {
namespace {

constexpr char kPortKey[] = "port";

}  // namespace

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

}  // namespace connection
