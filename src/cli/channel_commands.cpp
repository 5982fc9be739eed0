#include "cli/channel_commands.h"

#include "cli/channel_text.h"
#include "cli/device_reads.h"
#include "model/number_text.h"
#include "notch/auto_settings.h"
#include "notch/channel_edits.h"
#include "notch/notch_transfer.h"

namespace cli {
namespace {

using notch::AutoSetting;

// One frame with the final values: each field sent on its own would put
// on a live system, for a moment, a filter nobody asked for.
void PlanNotch(const SetCommand& command, model::PresetImage& image, SetPlan& plan) {
    const int n = model::NotchIndex(command.channel, *command.row);
    model::NotchCodes codes = model::ReadNotchRecord(image, n);
    codes.freq = command.notch.freqCode.value_or(codes.freq);
    codes.gain = command.notch.gainCode.value_or(codes.gain);
    codes.width = command.notch.widthCode.value_or(codes.width);
    const notch::NotchRow row{codes.gain, model::FormatNumber(model::FreqTable.at(codes.freq)), codes.width};
    notch::NotchArrays sent;
    plan.frames.push_back(notch::TransferNotch(n, row, sent, image).payload);
}

std::optional<int> RequestedState(const AutoEdit& edit, AutoSetting setting) {
    switch (setting) {
    case AutoSetting::NumNotchAuto: return edit.count;
    case AutoSetting::QNotchAuto: return edit.width;
    case AutoSetting::AttenuationMode: return edit.depth;
    case AutoSetting::Sensitivity: return edit.sensitivity;
    case AutoSetting::ReleaseSpeed: return edit.release;
    case AutoSetting::SearchMode: return edit.mode;
    }
    return std::nullopt;
}

void PlanAutoSettings(const SetCommand& command, model::PresetImage& image, SetPlan& plan) {
    for (const AutoSetting setting : notch::kAutoSettingsSendOrder)
        if (const std::optional<int> state = RequestedState(command.autos, setting))
            plan.frames.push_back(notch::SetAutoSetting(image, setting, command.channel, *state));
}

}  // namespace

SetPlan PlanSet(const SetCommand& command, model::PresetImage& image) {
    SetPlan plan;
    if (command.row) {
        const int automatic = notch::AutomaticRowCount(image, command.channel);
        if (*command.row < automatic) {
            plan.refusal = QString(
                               "%1 %2 belongs to the automatic search (Num notch automatic %3); "
                               "lower --auto-count first")
                               .arg(ChannelName(command.channel))
                               .arg(*command.row + 1)
                               .arg(automatic);
            return plan;
        }
        PlanNotch(command, image, plan);
    } else {
        PlanAutoSettings(command, image, plan);
    }
    return plan;
}

devlink::Task<ExitStatus> RunGet(CommandContext& context, const GetCommand& command) {
    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    model::PresetImage image{};
    const ExitStatus read = co_await ReadCurrentSettingsFor(context, image);
    if (read != ExitStatus::Done) co_return read;
    for (int c = 0; c < model::kChannels; ++c) {
        if (command.channel && *command.channel != c) continue;
        if (!command.row) {
            const PrintedLine line = ChannelSettingsLine(image, c);
            context.console.result(line.text, line.json);
        }
        for (int k = 0; k < model::kRowsPerChannel; ++k) {
            if (command.row && *command.row != k) continue;
            const PrintedLine line = NotchLine(image, model::NotchIndex(c, k));
            context.console.result(line.text, line.json);
        }
    }
    co_return ExitStatus::Done;
}

devlink::Task<ExitStatus> RunSet(CommandContext& context, const SetCommand& command) {
    const ExitStatus connected = co_await context.connect();
    if (connected != ExitStatus::Done) co_return connected;
    model::PresetImage image{};
    const ExitStatus read = co_await ReadCurrentSettingsFor(context, image);
    if (read != ExitStatus::Done) co_return read;
    const SetPlan plan = PlanSet(command, image);
    if (!plan.refusal.isEmpty()) co_return context.console.fail(ExitStatus::Refused, plan.refusal);
    for (const devlink::Payload& frame : plan.frames) {
        co_await context.link.command(frame);
        if (context.link.ended()) co_return context.lost();
    }
    const PrintedLine line = command.row ? NotchLine(image, model::NotchIndex(command.channel, *command.row))
                                         : ChannelSettingsLine(image, command.channel);
    context.console.result(line.text, line.json);
    co_return ExitStatus::Done;
}

}  // namespace cli
