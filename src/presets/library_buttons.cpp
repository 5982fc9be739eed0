#include "presets/library_buttons.h"
#include "editor/device_transfer.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <memory>
#include <vector>

#include "presets/preset_texts.h"
#include "presets/preset_words.h"

namespace presets {
namespace {

constexpr char kRenameText[] = "Rename...";
constexpr char kClearText[] = "Clear";
constexpr char kCopyText[] = "Copy to...";
constexpr char kRenameTitle[] = "Rename";
constexpr char kClearTitle[] = "Clear";
constexpr char kCopyTitle[] = "Copy to";

int PositionOf(int slot) { return slot + model::kFirstUserPosition; }
// Only for a slot already known to be 0..15.
std::size_t IndexOf(int slot) {
    return static_cast<std::size_t>(slot) + static_cast<std::size_t>(model::kFixedPositions);
}
QString PositionWord(int slot) { return PositionText(PositionOf(slot)); }

QPushButton* MakeButton(const char* text, const char* name, QWidget* parent, QBoxLayout* row) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

}  // namespace

LibraryButtons::LibraryButtons(model::PresetLibrary& library, devlink::DeviceLink& link, ui::UserDialogs& dialogs,
                               QProgressBar* progressBar, QWidget* parent)
    : QWidget(parent), library_(library), link_(link), dialogs_(dialogs), progressBar_(progressBar) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    rename_ = MakeButton(kRenameText, "RenameButton", this, row);
    clear_ = MakeButton(kClearText, "ClearButton", this, row);
    copy_ = MakeButton(kCopyText, "CopyButton", this, row);
    row->addStretch(1);
    connect(rename_, &QPushButton::clicked, this, [this] { onRename(); });
    connect(clear_, &QPushButton::clicked, this, [this] { onClear(); });
    connect(copy_, &QPushButton::clicked, this, [this] { onCopy(); });
    updateEnabled();
}

void LibraryButtons::placeInTabOrderAfter(QWidget* previous) {
    setTabOrder(previous, rename_);
    setTabOrder(rename_, clear_);
    setTabOrder(clear_, copy_);
}

void LibraryButtons::setSelectedSlot(std::optional<int> slot) {
    slot_ = slot && *slot >= 0 && *slot < model::kUserPositions ? slot : std::nullopt;
    updateEnabled();
}

void LibraryButtons::setTransferRunning(bool running) {
    running_ = running;
    updateEnabled();
}

void LibraryButtons::updateEnabled() {
    const bool enabled = slot_.has_value() && !running_;
    for (QPushButton* button : {rename_, clear_, copy_}) button->setEnabled(enabled);
}

bool LibraryButtons::refuseEmpty(int slot, const QString& title) {
    if (library_.used[IndexOf(slot)]) return false;
    dialogs_.inform(QString::fromLatin1(kPresetEmpty), title, ui::Icon::Critical, this);
    return true;
}

std::optional<StoreRequest> LibraryButtons::askName(int slot, const QString& title, const QString& label) {
    const auto typed =
        dialogs_.askText({title, label, QString::fromStdU32String(library_.names[IndexOf(slot)]), {}}, this);
    if (!typed) return std::nullopt;
    auto checked = CheckStoreRequest(PositionWord(slot), *typed);
    if (const auto* refusal = std::get_if<StoreRefusal>(&checked)) {
        dialogs_.inform(QString::fromLatin1(StoreRefusalText(*refusal)), title, ui::Icon::Exclamation, this);
        return std::nullopt;
    }
    return std::get<StoreRequest>(std::move(checked));
}

std::optional<int> LibraryButtons::askTarget(int source) {
    QStringList choices;
    std::vector<int> targets;
    for (int k = 0; k < model::kUserPositions; ++k) {
        if (k == source) continue;
        const auto name = model::PrintablePresetName(library_.names[IndexOf(k)]);
        choices << PositionWord(k) + QStringLiteral(": ") + QString::fromStdU32String(name);
        targets.push_back(k);
    }
    const QString label = QStringLiteral("Copy position %1 to:").arg(PositionWord(source));
    const auto picked = dialogs_.askText({QString::fromLatin1(kCopyTitle), label, choices.front(), choices}, this);
    const auto at = picked ? choices.indexOf(*picked) : -1;
    if (at < 0) return std::nullopt;
    return targets[static_cast<std::size_t>(at)];
}

void LibraryButtons::onRename() {
    // Before any question: a box opened during another transfer would
    // stop it halfway until it is answered.
    if (!slot_ || editor::RefusedWhileBusy(link_)) return;
    const int slot = *slot_;
    const QString title = QString::fromLatin1(kRenameTitle);
    if (refuseEmpty(slot, title)) return;
    const auto request = askName(slot, title, QStringLiteral("New name for position %1:").arg(PositionWord(slot)));
    if (!request) return;
    run(slot, title, [this, request = *request] { return RenamePreset(link_, library_, request); });
}

void LibraryButtons::onClear() {
    // Before any question: a box opened during another transfer would
    // stop it halfway until it is answered.
    if (!slot_ || editor::RefusedWhileBusy(link_)) return;
    const int slot = *slot_;
    const QString title = QString::fromLatin1(kClearTitle);
    if (refuseEmpty(slot, title)) return;
    const QString question =
        QStringLiteral("Clear position %1? The preset stored there will be lost.").arg(PositionWord(slot));
    if (!dialogs_.confirm(question, title, ui::Answer::No, ui::Icon::Exclamation, this)) return;
    run(slot, title, [this, slot] { return ClearPreset(link_, library_, slot); });
}

void LibraryButtons::onCopy() {
    // Before any question: a box opened during another transfer would
    // stop it halfway until it is answered.
    if (!slot_ || editor::RefusedWhileBusy(link_)) return;
    const int source = *slot_;
    const QString title = QString::fromLatin1(kCopyTitle);
    if (refuseEmpty(source, title)) return;
    const auto target = askTarget(source);
    if (!target) return;
    auto request = askName(source, title, QStringLiteral("Name at position %1:").arg(PositionWord(*target)));
    if (!request) return;
    request->slot = *target;
    if (library_.used[IndexOf(*target)]) {
        const QString question =
            QStringLiteral("Position %1 already holds a preset. Overwrite it?").arg(PositionWord(*target));
        if (!dialogs_.confirm(question, title, ui::Answer::No, ui::Icon::Exclamation, this)) return;
    }
    run(*target, title, [this, source, request = *request]() -> devlink::Task<LibraryResult> {
        progressBar_->setMaximum(kCopyProgressMaximum);
        progressBar_->show();
        const StoreProgress stepped = [this](int done) { stepProgress(done); };
        const LibraryResult result = co_await CopyPreset(link_, library_, source, request, stepped);
        progressBar_->setValue(0);
        progressBar_->hide();
        co_return result;
    });
}

void LibraryButtons::run(int writtenSlot, const QString& title, std::function<devlink::Task<LibraryResult>()> action) {
    const std::u32string before = library_.presetTitle;
    auto result = std::make_shared<LibraryResult>(LibraryResult::Refused);
    ownTransfer_ = true;
    setTransferRunning(true);
    const bool started = editor::RunWindowTransfer(
        this, link_, dialogs_, "changing the device's presets",
        [result, action = std::move(action)]() -> devlink::Task<void> { *result = co_await action(); },
        [this, result, writtenSlot, title, before](bool) {
            ownTransfer_ = false;
            setTransferRunning(false);
            finish(*result, writtenSlot, title, before);
        });
    if (started) return;
    ownTransfer_ = false;
    setTransferRunning(false);
}

void LibraryButtons::stepProgress(int done) { progressBar_->setValue(done); }

void LibraryButtons::finish(LibraryResult result, int writtenSlot, const QString& title,
                            const std::u32string& titleBefore) {
    if (result == LibraryResult::Refused) return;
    if (result == LibraryResult::SourceNotRead)
        dialogs_.inform(QString::fromLatin1(kReadFailed), title, ui::Icon::Critical, this);
    if (result == LibraryResult::DiffersAfterWriting)
        dialogs_.inform(QStringLiteral("Position %1: Differs after writing.").arg(PositionWord(writtenSlot)), title,
                        ui::Icon::Exclamation, this);
    // The link has said why; this says what it cost.
    if (result == LibraryResult::LostLink)
        dialogs_.inform(QStringLiteral("Position %1 was not written.").arg(PositionWord(writtenSlot)), title,
                        ui::Icon::Exclamation, this);
    emit libraryChanged(library_.presetTitle != titleBefore, result == LibraryResult::LostLink);
}

}  // namespace presets
