#include "presets/held_name.h"

namespace presets {

QString HeldNameText(const model::PresetNameBytes& bytes) {
    return QString::fromStdU32String(model::PrintablePresetName(model::DecodePresetName(bytes)));
}

QString NamePreviewText(const QString& typed) {
    const auto bytes = model::PadPresetName(typed.toStdU32String());
    if (!bytes) return {};
    const QString held = HeldNameText(*bytes);
    // Centring is how every short name is kept; only a cut or a changed
    // character is news to the user.
    if (held.trimmed() == typed.trimmed()) return {};
    return QStringLiteral("On the device: \"%1\"").arg(held);
}

}  // namespace presets
