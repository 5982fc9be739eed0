// Any command line the editor may be started with, QRN4480_PORTS set or not.
// Either the options come back and nothing is said, or nothing comes back
// and the text says why; a preset file, a port or a port list taken is one
// the arguments or the environment gave.
#include <QCoreApplication>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <variant>
#include <cstdlib>

#include "app/command_line.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// The editor parses its arguments with its application object alive.
QCoreApplication& Application() {
    static int argc = 1;
    static char name[] = "qrn4480-editor";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    return application;
}

}  // namespace

// Arguments are separated by NUL bytes; the first byte's low bit says whether
// QRN4480_PORTS is set, and to what: the last argument.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Application();
    if (size == 0) return 0;
    QStringList arguments{QStringLiteral("qrn4480-editor")};
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    for (const QByteArray& piece : rest.split('\0')) arguments.append(QString::fromUtf8(piece));
    const bool environment = data[0] & 1;
    if (environment)
        qputenv("QRN4480_PORTS", arguments.last().toUtf8());
    else
        qunsetenv("QRN4480_PORTS");

    const app::CommandLine parsed = app::ParseCommandLine(arguments);
    if (const auto* usage = std::get_if<app::UsageError>(&parsed)) Require(!usage->message.isEmpty());
    const auto* options = std::get_if<app::StartOptions>(&parsed);
    if (!options) return 0;
    if (!options->presetFile.isEmpty()) Require(arguments.mid(1).contains(options->presetFile));
    if (options->portList) {
        const bool fromEnvironment = environment && *options->portList == qEnvironmentVariable("QRN4480_PORTS");
        bool fromArguments = false;
        for (const QString& argument : arguments.mid(1))
            fromArguments = fromArguments || argument.endsWith(*options->portList);
        Require(fromEnvironment || fromArguments);
    } else {
        // One port named on the command line stands in for the list.
        Require(!environment || options->port.has_value());
    }
    if (options->port) {
        bool given = false;
        for (const QString& argument : arguments.mid(1)) given = given || argument.endsWith(*options->port);
        Require(given);
    }
    return 0;
}
