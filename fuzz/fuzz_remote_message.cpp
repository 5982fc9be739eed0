// What a phone's page sends: any bytes as one WebSocket message. A message
// is refused with a reason or gives a request whose every field lies in
// its range; the state sent back is built from any image without reading
// past a table.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <variant>

#include "model/value_tables.h"
#include "remote/protocol.h"
#include "remote/remote_state.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

void CheckRequest(const remote::Request& request) {
    if (const auto* r = std::get_if<remote::NotchRequest>(&request)) {
        Require(InRange(r->channel, 0, 1) && InRange(r->row, 0, model::kRowsPerChannel - 1));
        const int low = r->field == remote::NotchField::Gain ? -model::kMaxGainCode : 0;
        const int high = r->field == remote::NotchField::Frequency ? model::kMaxFreqCode
                         : r->field == remote::NotchField::Width   ? model::kMaxWidthCode
                                                                   : 0;
        Require(InRange(r->value, low, high));
    } else if (const auto* s = std::get_if<remote::SettingRequest>(&request)) {
        Require(InRange(s->channel, 0, 1));
        Require(InRange(s->value, notch::StateFromControl(s->setting, 0),
                        notch::StateFromControl(s->setting, notch::ControlMaximum(s->setting))));
    } else if (const auto* k = std::get_if<remote::SearchRequest>(&request)) {
        Require(InRange(k->selector, 0, 2));
    } else if (const auto* c = std::get_if<remote::ResetRequest>(&request)) {
        Require(InRange(c->channel, 0, 1));
    } else if (const auto* a = std::get_if<remote::AnswerRequest>(&request)) {
        Require(a->id >= 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray message(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const remote::Parsed parsed = remote::ParseRequest(message);
    Require(parsed.request.has_value() == parsed.error.isEmpty());
    if (parsed.request) CheckRequest(*parsed.request);

    model::PresetImage image{};
    for (std::size_t i = 0; i < image.size() && i < size; ++i) image[i] = data[i];
    const QJsonObject state = remote::StateMessage(image, {});
    Require(state.value(QLatin1String("type")).toString() == QLatin1String("state"));
    return 0;
}
