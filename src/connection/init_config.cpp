#include "connection/init_config.h"

#include <QSettings>

#include "connection/init_config_file.h"

namespace connection {
namespace {

constexpr char kPortKey[] = "port";
constexpr char kPortPathKey[] = "portPath";

bool Synced(QSettings& settings) {
    settings.sync();
    return settings.status() == QSettings::NoError;
}

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
    if (settings.value(kPortKey).toInt() != portNumber) settings.remove(kPortPathKey);
    settings.setValue(kPortKey, portNumber);
    return Synced(settings);
}

std::optional<TypedPort> ReadTypedPort() {
    const QSettings settings;
    const QString path = settings.value(kPortPathKey).toString();
    bool isNumber = false;
    const int number = settings.value(kPortKey).toInt(&isNumber);
    if (path.isEmpty() || !isNumber || number < 1 || number > INT16_MAX) return std::nullopt;
    return TypedPort{static_cast<std::int16_t>(number), path.toStdString()};
}

bool WriteTypedPort(const TypedPort& port) {
    QSettings settings;
    settings.setValue(kPortKey, port.number);
    settings.setValue(kPortPathKey, QString::fromStdString(port.path));
    return Synced(settings);
}

}  // namespace connection
