#include "cli/console.h"

namespace cli {

void Console::result(const QString& text, const JsonLine& json) {
    endProgress();
    if (mode_.json)
        out_ << json.text() << '\n' << std::flush;
    else if (!mode_.quiet)
        out_ << text.toStdString() << '\n' << std::flush;
}

void Console::event(const JsonLine& json) {
    if (!mode_.json) return;
    endProgress();
    out_ << json.text() << '\n' << std::flush;
}

void Console::progress(const QString& text) {
    if (!mode_.progressShown || mode_.quiet) return;
    // A line said again is not news; written again, it is a line more where
    // the terminal does not go back (a log, a narrow window).
    if (progressOpen_ && text == lastProgress_) return;
    err_ << '\r' << text.toStdString() << "\x1b[K" << std::flush;
    progressOpen_ = true;
    lastProgress_ = text;
}

void Console::note(const QString& text) {
    if (mode_.quiet) return;
    endProgress();
    err_ << text.toStdString() << '\n' << std::flush;
}

ExitStatus Console::fail(ExitStatus status, const QString& message) {
    endProgress();
    err_ << "qrn4480: " << message.toStdString() << '\n' << std::flush;
    if (mode_.json) out_ << JsonLine().add("error", message).add("exit", ExitCode(status)).text() << '\n' << std::flush;
    return status;
}

void Console::endProgress() {
    if (!progressOpen_) return;
    err_ << '\n' << std::flush;
    progressOpen_ = false;
}

}  // namespace cli
