#include "connection/trace_file.h"

#include <cstdio>

namespace connection {

bool TraceFile::open(const QString& path, QString* error) {
    file_.close();
    const bool opened = path == QLatin1String("-")
                            ? file_.open(stderr, QIODevice::WriteOnly | QIODevice::Text)
                            : (file_.setFileName(path), file_.open(QIODevice::WriteOnly | QIODevice::Truncate));
    if (!opened && error) *error = file_.errorString();
    return opened;
}

void TraceFile::record(std::int64_t /*atMs*/, devlink::TraceEvent event, std::span<const std::uint8_t> bytes,
                       std::string_view note) {
    if (!file_.isOpen()) return;
    std::string line = TraceLine(clock_.sinceStartUs(), event, bytes, names_.noteFor(event, note));
    line += '\n';
    file_.write(line.data(), static_cast<qint64>(line.size()));
    file_.flush();
}

}  // namespace connection
