#include "presets/read_preset_dialog.h"
#include "editor/device_transfer.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/parameter_editor.h"
#include "editor/step_names.h"
#include "presets/library_buttons.h"
#include "presets/preset_list_panel.h"
#include "presets/preset_texts.h"
#include "presets/preset_transfer.h"
#include "presets/preset_words.h"
#include "presets/transfer_bar.h"

namespace presets {

ReadPresetDialog::ReadPresetDialog(model::PresetLibrary& library, model::PresetImage& image, devlink::DeviceLink& link,
                                   editor::ParameterEditor& editor, ui::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      library_(library),
      image_(image),
      link_(link),
      editor_(editor),
      dialogs_(dialogs),
      panel_(new PresetListPanel(1, QString::fromLatin1(kReadListTip), this)),
      progressBar_(new QProgressBar(this)),
      libraryButtons_(new LibraryButtons(library, link, dialogs, progressBar_, this)) {
    setObjectName(QStringLiteral("FrmRead"));
    setWindowTitle(QString::fromLatin1(kReadCaption));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_);
    SetUpTransferBar(progressBar_, QStringLiteral("CopyProgress"), QStringLiteral("Copy progress"));
    progressBar_->hide();
    layout->addWidget(progressBar_);
    layout->addWidget(libraryButtons_);
    auto* row = new QHBoxLayout;
    buttons_ = MakeCommandButtons(this, row, QString::fromLatin1(kReadText));
    lockWatch_.emplace(LockWhileDeviceHeld(link.work(), buttons_));
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (int i = 0; i < 2; ++i) connect(button(i), &QPushButton::clicked, this, [this, i] { onButtonClicked(i); });
    connect(list(), &QListWidget::itemDoubleClicked, this, [this] { onListActivated(); });
    setTabOrder(list(), button(1));
    setTabOrder(button(1), button(0));
    libraryButtons_->placeInTabOrderAfter(button(0));
    connect(list(), &QListWidget::currentRowChanged, this, [this](int row) {
        const int slot = row - model::kFixedPositions;
        libraryButtons_->setSelectedSlot(slot >= 0 ? std::optional<int>(slot) : std::nullopt);
    });
    connect(libraryButtons_, &LibraryButtons::libraryChanged, this, &ReadPresetDialog::onLibraryChanged);

    showLibrary();
}

QListWidget* ReadPresetDialog::list() const { return panel_->list(); }

void ReadPresetDialog::showLibrary() {
    panel_->showNames(library_);
    list()->setFocus();
}

void ReadPresetDialog::onButtonClicked(int index) {
    if (index == 0) {
        reject();
        return;
    }
    readSelected();
}

void ReadPresetDialog::onListActivated() { readSelected(); }

void ReadPresetDialog::readSelected() {
    if (editor::RefusedWhileBusy(link_)) return;  // before its questions
    const int i = list()->currentRow();
    if (i < 0 || i >= model::kPresetPositions) return;
    if (!library_.used[static_cast<std::size_t>(i)]) {
        dialogs_.inform(QString::fromLatin1(kPresetEmpty), QString::fromLatin1(kReadCaption), ui::Icon::Critical, this);
        return;
    }
    if (!dialogs_.confirm(ReadQuestionText(i + 1), QString::fromLatin1(kReadCaption), ui::Answer::Yes, ui::Icon::None,
                          this))
        return;

    setWindowTitle(QString::fromLatin1(kReadingCaption));
    transferRunning_ = true;
    libraryButtons_->setTransferRunning(true);
    auto loaded = std::make_shared<bool>(false);
    const bool started = editor::RunWindowTransfer(
        this, link_, dialogs_, "reading a preset",
        [this, i, loaded]() -> devlink::Task<void> {
            // The read is one step of the edit history: an undo puts back
            // the settings it replaced.
            editor_.beginStep();
            *loaded = co_await loadPresetFromDevice(i);
            editor_.endStep(editor::ReadStepText(i + 1));
        },
        [this, i, loaded](bool ran) { finishRead(i, ran, *loaded); });
    if (!started) finishRead(i, false, false);
}

void ReadPresetDialog::finishRead(int i, bool ran, bool loaded) {
    transferRunning_ = false;
    libraryButtons_->setTransferRunning(false);
    if (!ran) {
        // Dropped before it began: the window stays, as it was.
        setWindowTitle(QString::fromLatin1(kReadCaption));
        return;
    }
    if (loaded) {
        accept();
        return;
    }
    // A lost link has said why, as it did before when the link is offline;
    // this says what it cost, so the unchanged editor is not taken for the
    // preset. A port that would not reopen for the block has said nothing.
    if (link_.ended())
        dialogs_.inform(QString::fromLatin1(kPositionNotRead).arg(PositionText(i + 1)),
                        QString::fromLatin1(kReadCaption), ui::Icon::Exclamation, this);
    else
        dialogs_.inform(QString::fromLatin1(kReadFailed), QString::fromLatin1(kReadCaption), ui::Icon::Critical, this);
    reject();
}

void ReadPresetDialog::done(int result) {
    // Closing mid-read would leave the job writing into a window gone.
    if (transferRunning_ || libraryButtons_->transferRunning()) {
        link_.work().refuse();
        return;
    }
    QDialog::done(result);
}

void ReadPresetDialog::onLibraryChanged(bool titleChanged, bool linkLost) {
    panel_->refreshNames(library_);
    if (titleChanged)
        editor_.showPresetTitle(QString::fromStdU32String(model::PrintablePresetName(library_.presetTitle)));
    if (linkLost) reject();
}

devlink::Task<bool> ReadPresetDialog::loadPresetFromDevice(int index) {
    const std::function<void()> show = [this] { editor_.fillFromImage(); };
    const ReadResult read = co_await ReadPreset(link_, library_, index, image_, show);
    if (read != ReadResult::Read)
        co_return false;
    editor_.showPresetTitle(QString::fromStdU32String(model::PrintablePresetName(library_.presetTitle)));
    editor_.setPresetSource(QString::fromLatin1(kLoadedFromDevice));
    co_return true;
}

}  // namespace presets
