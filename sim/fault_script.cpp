#include "sim/fault_script.h"

#include <array>
#include <charconv>

namespace sim {
namespace {

using Kind = FaultAction::Kind;

struct NumberRule {
    std::int64_t low;
    std::int64_t high;
    const char* what;
};

constexpr NumberRule kCount{1, 10'000'000, "a number"};
constexpr NumberRule kTime{0, 86'400'000, "milliseconds"};  // a day
constexpr NumberRule kDelay{1, 600'000, "milliseconds"};
constexpr NumberRule kBytes{1, 4096, "a number"};

struct ActionRule {
    std::string_view name;
    Kind kind;
    bool takesValue;
    NumberRule rule;
};

constexpr std::array<ActionRule, 9> kActions = {{
    {"mute", Kind::Mute, false, {}},
    {"close", Kind::Close, false, {}},
    {"late", Kind::Late, true, kDelay},
    {"duplicate", Kind::Duplicate, false, {}},
    {"partial", Kind::Partial, true, {0, 4096, "a number"}},
    {"extra", Kind::Extra, true, kBytes},
    {"noise", Kind::Noise, true, kBytes},
    {"burst", Kind::Burst, true, {2, 256, "a number"}},
    {"stall", Kind::Stall, true, kDelay},
}};

constexpr std::array<std::pair<std::string_view, unsigned>, 6> kReportFields = {{
    {"kind", report_field::kKind},
    {"channel", report_field::kChannel},
    {"row", report_field::kRow},
    {"freq", report_field::kFreq},
    {"width", report_field::kWidth},
    {"gain", report_field::kGain},
}};

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// "name=value" into its two halves; `value` is empty without an '='.
std::pair<std::string_view, std::string_view> splitAt(std::string_view text, char sep, bool* found = nullptr) {
    const std::size_t at = text.find(sep);
    if (found) *found = at != std::string_view::npos;
    if (at == std::string_view::npos) return {text, {}};
    return {text.substr(0, at), text.substr(at + 1)};
}

bool parseNumber(std::string_view name, std::string_view text, const NumberRule& rule, std::int64_t& out,
                 std::string* error) {
    std::int64_t n = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec == std::errc() && end == text.data() + text.size() && n >= rule.low && n <= rule.high) {
        out = n;
        return true;
    }
    return fail(error, std::string(name) + " wants " + rule.what + " from " + std::to_string(rule.low) + " to " +
                           std::to_string(rule.high) + ", not '" + std::string(text) + "'");
}

bool parseCommand(std::string_view value, FaultTrigger& trigger, std::string* error) {
    bool hasCount = false;
    const auto [code, count] = splitAt(value, '#', &hasCount);
    if (!hasCount) return fail(error, "cmd wants CODE#N, as in cmd=0x10#5");
    unsigned c = 256;
    const bool hex = code.size() >= 3 && code.size() <= 4 && code[0] == '0' && (code[1] == 'x' || code[1] == 'X');
    const char* digits = code.data() + 2;
    const auto [end, ec] = hex ? std::from_chars(digits, code.data() + code.size(), c, 16)
                               : std::from_chars_result{digits, std::errc::invalid_argument};
    if (ec != std::errc() || end != code.data() + code.size() || c > 0xFF)
        return fail(error, "cmd wants a command code from 0x00 to 0xFF, not '" + std::string(code) + "'");
    trigger.command = static_cast<std::uint8_t>(c);
    return parseNumber("cmd", count, kCount, trigger.value, error);
}

bool parseTrigger(std::string_view text, FaultTrigger& trigger, std::string* error) {
    const auto [name, value] = splitAt(text, '=');
    if (name == "cmd") {
        trigger.kind = FaultTrigger::Kind::Command;
        return parseCommand(value, trigger, error);
    }
    if (name == "frame" || name == "report" || name == "time") {
        trigger.kind = name == "frame"    ? FaultTrigger::Kind::Frame
                       : name == "report" ? FaultTrigger::Kind::Report
                                          : FaultTrigger::Kind::Time;
        return parseNumber(name, value, name == "time" ? kTime : kCount, trigger.value, error);
    }
    return fail(error, "unknown trigger '" + std::string(name) + "' (frame, cmd, report or time)");
}

bool parseGarbage(std::string_view value, bool hasValue, FaultAction& action, std::string* error) {
    action.kind = Kind::Garbage;
    action.amount = static_cast<int>(report_field::kAllButKind);
    if (!hasValue) return true;
    for (const auto& [field, bit] : kReportFields) {
        if (field != value) continue;
        action.amount = static_cast<int>(bit);
        return true;
    }
    return fail(error, "garbage wants one of kind, channel, row, freq, width, gain, not '" + std::string(value) + "'");
}

bool parseAction(std::string_view text, FaultAction& action, std::string* error) {
    bool hasValue = false;
    const auto [name, value] = splitAt(text, '=', &hasValue);
    if (name == "garbage") return parseGarbage(value, hasValue, action, error);
    for (const ActionRule& a : kActions) {
        if (a.name != name) continue;
        action.kind = a.kind;
        if (!a.takesValue) return !hasValue || fail(error, std::string(name) + " takes no value");
        std::int64_t n = 0;
        if (!parseNumber(name, value, a.rule, n, error)) return false;
        action.amount = static_cast<int>(n);
        return true;
    }
    return fail(error, "unknown action '" + std::string(name) +
                           "' (mute, close, late, duplicate, partial, extra, noise, garbage, burst or stall)");
}

}  // namespace

bool parseFault(std::string_view text, Fault& fault, std::string* error) {
    bool hasAction = false;
    const auto [trigger, action] = splitAt(text, ':', &hasAction);
    if (!hasAction) return fail(error, "expected TRIGGER:ACTION, as in frame=80:mute");
    Fault parsed;
    if (!parseTrigger(trigger, parsed.trigger, error) || !parseAction(action, parsed.action, error)) return false;
    const auto on = parsed.trigger.kind;
    if (parsed.action.reportOnly() && on != FaultTrigger::Kind::Report && on != FaultTrigger::Kind::Time)
        return fail(error, std::string(action.substr(0, action.find('='))) +
                               " shapes reports: use it with report=N or time=MS");
    fault = parsed;
    return true;
}

}  // namespace sim
