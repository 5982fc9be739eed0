#include "app/command_line.h"

#include <QCommandLineParser>

namespace app {

std::optional<StartOptions> ParseCommandLine(const QStringList& arguments, QString* error) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Editor and remote control for the QRN4480 feedback eliminator.");
    parser.addHelpOption();
    const QCommandLineOption simulate("simulate", "Start a simulated device and use it as port 1.");
    const QCommandLineOption demo("demo", "Start in demo mode without looking for a device.");
    const QCommandLineOption simMemory("sim-memory", "Keep the simulated device's memory in <file>.", "file");
    const QCommandLineOption ports("ports",
                                   "Port paths separated by ':' (';' on Windows); entry i is port i+1 "
                                   "(replaces QRN4480_PORTS and the built-in table).",
                                   "list");
    parser.addOption(simulate);
    parser.addOption(demo);
    parser.addOption(simMemory);
    parser.addOption(ports);
    parser.addPositionalArgument("preset", "A preset file (.Fbk) to load once the editor is open.", "[preset]");
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet("help")) {
        *error = parser.helpText();
        return std::nullopt;
    }
    if (parser.positionalArguments().size() > 1) {
        *error = "Give at most one preset file.";
        return std::nullopt;
    }
    StartOptions options;
    options.simulate = parser.isSet(simulate);
    options.demo = parser.isSet(demo);
    options.simulatorMemory = parser.value(simMemory);
    if (parser.isSet(ports))
        options.portList = parser.value(ports);
    else if (qEnvironmentVariableIsSet("QRN4480_PORTS"))
        options.portList = qEnvironmentVariable("QRN4480_PORTS");
    if (!parser.positionalArguments().isEmpty()) options.presetFile = parser.positionalArguments().first();
    return options;
}

}  // namespace app
