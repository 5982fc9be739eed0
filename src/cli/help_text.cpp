#include "cli/help_text.h"

#include <QStringList>

namespace cli {
namespace {

struct CommandHelp {
    const char* name;
    // After "qrn4480 [OPTIONS] "; a second form on its own line.
    const char* synopsis;
    const char* description;
};

constexpr CommandHelp kCommands[] = {
    {"ports", "ports [--all]",
     "each port that exists (every number 1-35 with --all), its path\n"
     "and whether a QRN4480 answers on it"},
    {"info", "info", "the port, the device's program name and positions 5-20, used or empty"},
    {"backup", "backup FILE [--force]",
     "every stored preset and the current settings into FILE; a FILE\n"
     "already there is replaced only with --force"},
    {"restore", "restore FILE [--positions 5,7-9] [--current] [--yes] [--full]",
     "the presets in FILE back into the device (all of them unless\n"
     "--positions); --current also sends its current settings; only\n"
     "the bytes that differ are written, every byte with --full"},
    {"read", "read N FILE.Fbk", "device preset N (1-20) into a preset file"},
    {"store", "store N NAME FILE.Fbk [--full]",
     "a preset file into position N (5-20) under NAME, writing only the\n"
     "bytes that differ and reading them back (every byte with --full)"},
    {"load", "load FILE.Fbk", "a preset file as the device's current settings"},
    {"save", "save FILE.Fbk", "the device's current settings into a preset file"},
    {"get", "get [left|right] [NOTCH]", "notch rows (1-12) and automatic settings"},
    {"set",
     "set left|right NOTCH [--freq HZ] [--gain DB] [--width 1/70|1/20|1/10|1/5]\n"
     "set left|right [--auto-count 1-12] [--auto-width W] [--depth fixed|variable]\n"
     "               [--release slow|fast] [--mode sharp|fast] [--sensitivity 1-16]",
     "values snap as in the editor (1000 Hz becomes 1003); rows that\n"
     "belong to the automatic search are refused"},
    {"search", "search left|right|both [--seconds S]",
     "run the device's feedback search and print each notch it places or\n"
     "clears; stops after S seconds or on Ctrl+C or SIGTERM (exit code 5\n"
     "when that comes before the S seconds)"},
    {"serve", "serve [--listen [ADDRESS:]PORT]",
     "the web remote without a window: prints the page's address (with\n"
     "its token) first; every address on port 8480 unless --listen;\n"
     "ends on Ctrl+C or SIGTERM"},
    {"help", "help [COMMAND]", "this text, or one command's help (also: COMMAND --help)"},
};

constexpr int kDescriptionColumn = 31;

QStringList Lines(const char* text) { return QString::fromLatin1(text).split('\n'); }

// "  name    description", or the synopsis on lines of its own when it is
// too long to leave room beside it.
QString CommandsSection() {
    QString text;
    for (const CommandHelp& command : kCommands) {
        const QStringList synopsis = Lines(command.synopsis);
        const QStringList description = Lines(command.description);
        const bool beside = synopsis.size() == 1 && synopsis[0].size() + 3 < kDescriptionColumn;
        if (!beside)
            for (const QString& line : synopsis) text += "  " + line + '\n';
        for (qsizetype i = 0; i < description.size(); ++i) {
            const QString lead = beside && i == 0 ? "  " + synopsis[0] : QString();
            text += lead.leftJustified(kDescriptionColumn) + description[i] + '\n';
        }
    }
    return text;
}

}  // namespace

QString HelpText() {
    return QStringLiteral(
               "Usage: qrn4480 [OPTIONS] COMMAND [ARGUMENTS]\n"
               "The QRN4480 feedback eliminator from a shell: the device work of qrn4480-editor without its "
               "window.\n"
               "\n"
               "Commands:\n") +
           CommandsSection() +
           QStringLiteral(
               "\n"
               "Options:\n"
               "  --port N|PATH|tcp://HOST:PORT  the device's port (default: the editor's remembered port, then "
               "1-35)\n"
               "  --trace FILE                 every frame in and out, with times (\"-\": standard error)\n"
               "  --json                       standard output carries one JSON object per line, nothing else\n"
               "  --quiet                      no output but errors (JSON lines are still written)\n"
               "  --help, --version\n"
               "\n"
               "Exit codes:\n"
               "  0  done\n"
               "  1  device not found or not answering\n"
               "  2  usage error (also: backup over a file that exists, without --force)\n"
               "  3  file error (a file that cannot be read or written)\n"
               "  4  refused (a value out of range, a damaged file, an automatic row, an empty position,\n"
               "     a restore without --yes when standard input is not a terminal)\n"
               "  5  stopped by Ctrl+C or SIGTERM before everything was done (what was written is whole)\n");
}

std::optional<QString> CommandHelpText(const QString& command) {
    for (const CommandHelp& entry : kCommands) {
        if (command != QLatin1String(entry.name)) continue;
        QString text;
        const QString usage = "Usage: qrn4480 [OPTIONS] ";
        for (const QString& line : Lines(entry.synopsis)) {
            // A second form starts anew; a line that goes on a form stays under it.
            const QString lead = text.isEmpty()         ? usage
                                 : line.startsWith(' ') ? QString(usage.size(), ' ')
                                                        : "       qrn4480 [OPTIONS] ";
            text += lead + line + '\n';
        }
        QString description = QString::fromLatin1(entry.description);
        description[0] = description[0].toUpper();
        return text + description + ".\n\n" +
               "Every command also takes --port N|PATH|tcp://HOST:PORT, --trace FILE, --json and --quiet;\n"
               "qrn4480 --help lists them all with the exit codes.\n";
    }
    return std::nullopt;
}

}  // namespace cli
