#include "app/command_line.h"

#include <QCommandLineParser>

#include "qrn_version.h"
#include "remote/listen_address.h"

namespace app {

namespace {

// The options, named once for the parser that reads them and the one that
// prints the help with Qt's options.
struct Options {
    QCommandLineOption simulate{"simulate", "Start a simulated device and use it as port 1."};
    QCommandLineOption demo{"demo", "Start in demo mode without looking for a device."};
    QCommandLineOption simMemory{"sim-memory", "Keep the simulated device's memory in <file>.", "file"};
    QCommandLineOption trace{"trace", "Write every frame in and out, with time stamps, to <file> (- for stderr).",
                             "file"};
    QCommandLineOption ports{"ports",
                             "Port paths separated by ':' (';' on Windows); entry i is port i+1 "
                             "(replaces QRN4480_PORTS and the built-in table).",
                             "list"};
    QCommandLineOption port{"port", "Use <path> (a device or tcp://host:port) as the one port, port 1.", "path"};
    QCommandLineOption remote{"remote",
                              "Turn the web remote on at start, on <[address:]port> (as Device > Remote control...).",
                              "[address:]port"};
    QCommandLineOption help;
    QCommandLineOption version;

    explicit Options(QCommandLineParser& parser) : help(parser.addHelpOption()), version(parser.addVersionOption()) {
        parser.setApplicationDescription("Editor and remote control for the QRN4480 feedback eliminator.");
        parser.addOption(simulate);
        parser.addOption(demo);
        parser.addOption(simMemory);
        parser.addOption(trace);
        parser.addOption(ports);
        parser.addOption(port);
        parser.addOption(remote);
        parser.addPositionalArgument("preset", "A preset file (.Fbk) to load once the editor is open.", "[preset]");
    }
};

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    const Options known(parser);
    if (!parser.parse(arguments)) return UsageError{parser.errorText()};
    // Without an application object yet, Qt cannot know the program's name.
    if (parser.isSet(known.help)) return PrintAndExit{parser.helpText().replace("<executable_name>", "qrn4480-editor")};
    if (parser.isSet("help-all")) return PrintHelpWithQtOptions{};
    if (parser.isSet(known.version)) return PrintAndExit{QString("qrn4480-editor %1\n").arg(kQrnVersion)};
    if (parser.positionalArguments().size() > 1) return UsageError{"Give at most one preset file."};
    StartOptions options;
    options.simulate = parser.isSet(known.simulate);
    options.demo = parser.isSet(known.demo);
    options.simulatorMemory = parser.value(known.simMemory);
    options.traceFile = parser.value(known.trace);
    if (parser.isSet(known.port) && parser.isSet(known.ports)) return UsageError{"Give --port or --ports, not both."};
    if (parser.isSet(known.port))
        options.port = parser.value(known.port);
    else if (parser.isSet(known.ports))
        options.portList = parser.value(known.ports);
    else if (qEnvironmentVariableIsSet("QRN4480_PORTS"))
        options.portList = qEnvironmentVariable("QRN4480_PORTS");
    if (parser.isSet(known.remote)) {
        QString why;
        options.remote = remote::ParseListenAddress(parser.value(known.remote), &why);
        if (!options.remote) return UsageError{"--remote: " + why};
    }
    if (!parser.positionalArguments().isEmpty()) options.presetFile = parser.positionalArguments().first();
    return options;
}

void PrintHelpWithQtOptionsAndExit(const QStringList& arguments) {
    QCommandLineParser parser;
    const Options known(parser);
    parser.process(arguments);
    // process() leaves only when --help-all was not among the arguments.
    parser.showHelp(0);
}

}  // namespace app
