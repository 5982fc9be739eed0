#include "cli/preset_commands.h"

#include <algorithm>

#include "cli/device_reads.h"
#include "cli/name_fields.h"
#include "cli/preset_files_cli.h"
#include "notch/preset_frames.h"
#include "presets/held_name.h"
#include "presets/position_write.h"
#include "presets/preset_texts.h"
#include "presets/preset_transfer.h"
#include "presets/preset_words.h"
#include "presets/store_frames.h"

namespace cli {
namespace {

JsonLine Done(const char* command, const QString& file) { return JsonLine().add("done", command).add("file", file); }

ExitStatus NotRead(CommandContext& context) {
    if (context.link.ended()) return context.lost();
    return context.console.fail(ExitStatus::NoDevice, QString::fromLatin1(presets::kReadFailed));
}

}  // namespace

devlink::Task<ExitStatus> RunRead(CommandContext& context, const ReadCommand& command) {
    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    const std::optional<bool> used = co_await ReadPositionUsed(context.link, command.position);
    if (!used) co_return context.lost();
    if (!*used)
        co_return context.console.fail(ExitStatus::Refused,
                                       QString("%1: %2").arg(command.position).arg(presets::kPresetEmpty));
    model::PresetImage image{};
    model::PresetLibrary library;
    library.resetToFixedOnly();
    const presets::ReadResult read = co_await presets::ReadPreset(context.link, library, command.position - 1, image);
    if (read != presets::ReadResult::Read) co_return NotRead(context);
    // The device's bytes are untrusted: the file holds what the editor would
    // show and save, never a code outside its range.
    model::ClampImageCodes(image);
    if (const ExitStatus written = WritePresetFileOrSay(context.console, command.file, image);
        written != ExitStatus::Done)
        co_return written;
    context.console.result(QString("Preset %1 read into %2").arg(command.position).arg(command.file),
                           Done("read", command.file).add("position", command.position));
    co_return ExitStatus::Done;
}

devlink::Task<ExitStatus> RunStore(CommandContext& context, const StoreCommand& command) {
    ExitStatus status = ExitStatus::Done;
    const auto image = ReadPresetFileOrSay(context.console, command.file, status);
    if (!image) co_return status;
    const auto checked = presets::CheckStoreRequest(presets::PositionText(command.position), command.name);
    if (const auto* refusal = std::get_if<presets::StoreRefusal>(&checked))
        co_return context.console.fail(ExitStatus::Refused, QString::fromLatin1(presets::StoreRefusalText(*refusal)));
    const auto& request = std::get<presets::StoreRequest>(checked);

    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    model::PresetLibrary library;
    library.resetToFixedOnly();
    const std::optional<bool> used = co_await ReadPositionUsed(context.link, command.position);
    if (!used) co_return context.lost();
    library.used[static_cast<std::size_t>(command.position - 1)] = *used;
    // The device holds the centred and cut name, which is what a later
    // `info` lists: never report the longer text as stored.
    const QString held = presets::HeldNameText(request.nameBytes);
    JsonLine json =
        Done("store", command.file).add("position", command.position).merge(NameFields("name", request.nameBytes));
    const QString stored =
        QString("%1 stored into position %2 as \"%3\"").arg(command.file).arg(command.position).arg(held);
    if (command.full) {
        const auto progress = [&](int done) {
            context.console.progress(
                QString("Storing %1: %2 of %3").arg(command.position).arg(done).arg(presets::kStoreByteFrames));
        };
        const presets::StoreResult result =
            co_await presets::StorePreset(context.link, library, *image, request, progress);
        if (result != presets::StoreResult::Stored) co_return context.lost();
        context.console.result(stored, json.add("written", presets::kStoreByteFrames).add("skipped", 0));
        co_return ExitStatus::Done;
    }
    presets::KnownPosition known;
    known.used = *used;
    presets::DeviceBlock data{};
    std::copy_n(image->begin(), data.size(), data.begin());
    const presets::WriteProgress shown = [&](int done, int total) {
        context.console.progress(QString("Storing %1: %2 of %3 frames").arg(command.position).arg(done).arg(total));
    };
    const presets::PositionWriteReport report =
        co_await presets::WriteChangedBytes(context.link, library, request, data, known, shown);
    const QString outcome = QString::fromStdString(presets::PositionWriteText(report));
    json.add("written", report.written).add("skipped", report.skipped).add("outcome", outcome);
    switch (report.outcome) {
    case presets::PositionWriteOutcome::StoredAndVerified:
        context.console.result(
            QString("%1: %2, %3")
                .arg(stored, QString::fromStdString(presets::ByteCountText(report.written, report.skipped)), outcome),
            json);
        co_return ExitStatus::Done;
    case presets::PositionWriteOutcome::DiffersAfterWriting:
        context.console.result(QString("Position %1: %2").arg(command.position).arg(outcome), json);
        co_return context.console.fail(ExitStatus::NoDevice, "The device holds something else after writing");
    case presets::PositionWriteOutcome::NotRead: co_return NotRead(context);
    case presets::PositionWriteOutcome::NotWritten:
    case presets::PositionWriteOutcome::LeftUnused:
    case presets::PositionWriteOutcome::WrittenNotVerified: break;
    }
    context.console.result(QString("Position %1: %2").arg(command.position).arg(outcome), json);
    co_return context.lost();
}

devlink::Task<ExitStatus> RunLoad(CommandContext& context, const LoadCommand& command) {
    ExitStatus status = ExitStatus::Done;
    const auto image = ReadPresetFileOrSay(context.console, command.file, status);
    if (!image) co_return status;
    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    const std::vector<devlink::Payload> frames = notch::PresetApplicationPayloads(*image);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        context.console.progress(QString("Loading %1: %2 of %3").arg(command.file).arg(i + 1).arg(frames.size()));
        co_await context.link.command(frames[i]);
        if (context.link.ended()) co_return context.lost();
    }
    context.console.result(QString("%1 loaded as the current settings").arg(command.file), Done("load", command.file));
    co_return ExitStatus::Done;
}

devlink::Task<ExitStatus> RunSave(CommandContext& context, const SaveCommand& command) {
    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    model::PresetImage image{};
    const bool read = co_await ReadCurrentSettings(context.link, image);
    if (!read) co_return NotRead(context);
    if (const ExitStatus written = WritePresetFileOrSay(context.console, command.file, image);
        written != ExitStatus::Done)
        co_return written;
    context.console.result(QString("The current settings saved into %1").arg(command.file), Done("save", command.file));
    co_return ExitStatus::Done;
}

}  // namespace cli
