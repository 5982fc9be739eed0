#include "cli/help_text.h"

namespace cli {

QString HelpText() {
    return QStringLiteral(
        "Usage: qrn4480 [OPTIONS] COMMAND [ARGUMENTS]\n"
        "The QRN4480 feedback eliminator from a shell: the device work of qrn4480-editor without its window.\n"
        "\n"
        "Commands:\n"
        "  ports                        each port number, its path, whether it exists and whether a device answers\n"
        "  info                         the port, the device's program name and positions 5-20, used or empty\n"
        "  backup FILE                  every stored preset and the current settings into FILE\n"
        "  restore FILE [--positions 5,7-9] [--current] [--yes]\n"
        "                               the presets in FILE back into the device (all of them unless\n"
        "                               --positions); --current also sends its current settings\n"
        "  read N FILE.Fbk              device preset N (1-20) into a preset file\n"
        "  store N NAME FILE.Fbk        a preset file into position N (5-20) under NAME\n"
        "  load FILE.Fbk                a preset file as the device's current settings\n"
        "  save FILE.Fbk                the device's current settings into a preset file\n"
        "  get [left|right] [NOTCH]     notch rows (1-12) and automatic settings\n"
        "  set left|right NOTCH [--freq HZ] [--gain DB] [--width 1/70|1/20|1/10|1/5]\n"
        "  set left|right [--auto-count 1-12] [--auto-width W] [--depth fixed|variable]\n"
        "                 [--release slow|fast] [--mode sharp|fast] [--sensitivity 1-16]\n"
        "                               values snap as in the editor (1000 Hz becomes 1003); rows that\n"
        "                               belong to the automatic search are refused\n"
        "  search left|right|both [--seconds S]\n"
        "                               run the device's feedback search and print each notch it places or\n"
        "                               clears; stops after S seconds or on Ctrl+C or SIGTERM\n"
        "\n"
        "Options:\n"
        "  --port N|PATH|tcp://HOST:PORT  the device's port (default: the editor's remembered port, then 1-35)\n"
        "  --trace FILE                 every frame in and out, with times (\"-\": standard error)\n"
        "  --json                       standard output carries one JSON object per line, nothing else\n"
        "  --quiet                      no output but errors (JSON lines are still written)\n"
        "  --help, --version\n"
        "\n"
        "Exit codes:\n"
        "  0  done\n"
        "  1  device not found or not answering\n"
        "  2  usage error\n"
        "  3  file error (a file that cannot be read or written)\n"
        "  4  refused (a value out of range, a damaged file, an automatic row, an empty position,\n"
        "     a restore without --yes when standard input is not a terminal)\n"
        "  5  stopped by Ctrl+C or SIGTERM before everything was done (what was written is whole)\n");
}

}  // namespace cli
