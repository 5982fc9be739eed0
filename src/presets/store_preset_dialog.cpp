#include "presets/store_preset_dialog.h"
#include "editor/device_transfer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <utility>

#include "editor/parameter_editor.h"
#include "presets/library_buttons.h"
#include "presets/name_preview.h"
#include "presets/position_write.h"
#include "presets/preset_list_panel.h"
#include "presets/preset_texts.h"
#include "presets/preset_transfer.h"
#include "presets/preset_words.h"
#include "presets/store_frames.h"
#include "presets/transfer_bar.h"

namespace presets {
namespace {

constexpr char kChangedBytesText[] = "Write only changed bytes and verify";
constexpr char kChangedBytesKey[] = "store/changedBytesOnly";

}  // namespace

StorePresetDialog::StorePresetDialog(model::PresetLibrary& library, model::PresetImage& image,
                                     devlink::DeviceLink& link, editor::ParameterEditor& editor,
                                     ui::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      library_(library),
      image_(image),
      link_(link),
      editor_(editor),
      dialogs_(dialogs),
      panel_(new PresetListPanel(model::kFirstUserPosition, QString::fromLatin1(kStoreListTip), this)),
      nameBox_(new QLineEdit(this)),
      positionBox_(new QComboBox(this)),
      progressBar_(new QProgressBar(this)),
      changedBytesBox_(new QCheckBox(QString::fromLatin1(kChangedBytesText), this)),
      libraryButtons_(new LibraryButtons(library, link, dialogs, progressBar_, this)) {
    setObjectName(QStringLiteral("FrmStore"));
    setWindowTitle(QString::fromLatin1(kStoreCaption));
    setModal(true);

    nameBox_->setObjectName(QStringLiteral("Text1"));
    nameBox_->setAccessibleName(QString::fromLatin1(kEditNameLabel));
    positionBox_->setObjectName(QStringLiteral("Combo1"));
    positionBox_->setAccessibleName(QString::fromLatin1(kSelectPositionLabel));
    positionBox_->setEditable(true);
    // Typing never adds a position: only the sixteen items are preset memory.
    positionBox_->setInsertPolicy(QComboBox::NoInsert);
    for (int p = model::kFirstUserPosition; p <= model::kPresetPositions; ++p) positionBox_->addItem(PositionText(p));
    SetUpTransferBar(progressBar_, QStringLiteral("ProgressBar1"), QStringLiteral("Store progress"));
    changedBytesBox_->setObjectName(QStringLiteral("ChangedBytesBox"));
    changedBytesBox_->setChecked(QSettings().value(kChangedBytesKey, false).toBool());
    connect(changedBytesBox_, &QCheckBox::toggled, this, [](bool on) { QSettings().setValue(kChangedBytesKey, on); });

    auto* fields = new QFormLayout;
    auto* nameLabel = new QLabel(QString::fromLatin1(kEditNameLabel), this);
    auto* positionLabel = new QLabel(QString::fromLatin1(kSelectPositionLabel), this);
    nameLabel->setBuddy(nameBox_);
    positionLabel->setBuddy(positionBox_);
    fields->addRow(nameLabel, nameBox_);
    fields->setWidget(fields->rowCount(), QFormLayout::FieldRole, new NamePreview(nameBox_, this));
    fields->addRow(positionLabel, positionBox_);

    auto* top = new QHBoxLayout;
    top->addWidget(panel_);
    top->addSpacing(12);
    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(changedBytesBox_);
    right->addStretch(1);
    top->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(progressBar_);
    layout->addWidget(libraryButtons_);
    auto* row = new QHBoxLayout;
    buttons_ = MakeCommandButtons(this, row, QString::fromLatin1(kStoreText));
    lockWatch_.emplace(LockWhileDeviceHeld(link.work(), buttons_));
    layout->addLayout(row);

    for (int i = 0; i < 2; ++i) connect(button(i), &QPushButton::clicked, this, [this, i] { onButtonClicked(i); });
    connect(list(), &QListWidget::itemDoubleClicked, this, [this] { onListActivated(); });
    list()->installEventFilter(this);
    setTabOrder(list(), nameBox_);
    setTabOrder(nameBox_, positionBox_);
    setTabOrder(positionBox_, changedBytesBox_);
    setTabOrder(changedBytesBox_, button(1));
    setTabOrder(button(1), button(0));
    libraryButtons_->placeInTabOrderAfter(button(0));
    connect(list(), &QListWidget::currentRowChanged, this,
            [this](int row) { libraryButtons_->setSelectedSlot(row >= 0 ? std::optional<int>(row) : std::nullopt); });
    connect(libraryButtons_, &LibraryButtons::libraryChanged, this, &StorePresetDialog::onLibraryChanged);

    showLibrary();
}

QListWidget* StorePresetDialog::list() const { return panel_->list(); }

void StorePresetDialog::showLibrary() {
    progressBar_->hide();
    progressBar_->setValue(0);
    panel_->showNames(library_);
    // The name as the library holds it, so that storing it again keeps its bytes.
    nameBox_->setText(QString::fromStdU32String(library_.names[model::kFixedPositions]));
    positionBox_->setCurrentIndex(0);
    nameBox_->setFocus();
    nameBox_->selectAll();
}

bool StorePresetDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onListActivated();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StorePresetDialog::onListActivated() {
    const int k = list()->currentRow();
    if (k < 0 || k >= model::kUserPositions) return;
    nameBox_->setText(QString::fromStdU32String(
        library_.names.at(static_cast<std::size_t>(model::kFixedPositions) + static_cast<std::size_t>(k))));
    positionBox_->setCurrentIndex(k);
}

void StorePresetDialog::onButtonClicked(int index) {
    if (index == 0) {
        reject();
        return;
    }
    // Refused before the question: there is nothing to be sure about, and
    // a box opened during another transfer would stop it halfway.
    if (editor::RefusedWhileBusy(link_)) return;
    const auto request = checkedRequest();
    if (!request) return;
    if (!dialogs_.confirm(QString::fromLatin1(kStoreQuestion), QString::fromLatin1(kStoreQuestionTitle),
                          ui::Answer::Yes, ui::Icon::None, this))
        return;
    startStore(*request);
}

bool StorePresetDialog::startStore(const StoreRequest& request) {
    transferRunning_ = true;
    auto stored = std::make_shared<bool>(false);
    const bool started = editor::RunWindowTransfer(
        this, link_, dialogs_, "storing a preset",
        [this, request, stored]() -> devlink::Task<void> { *stored = co_await store(request); },
        [this, request, stored](bool ran) { finishStore(request, ran ? std::optional<bool>(*stored) : std::nullopt); });
    if (!started) transferRunning_ = false;
    return started;
}

void StorePresetDialog::finishStore(const StoreRequest& request, std::optional<bool> stored) {
    transferRunning_ = false;
    // Dropped before it began (a cancel): nothing was sent.
    if (!stored) return;
    if (*stored) {
        if (verification_) dialogs_.show(*std::exchange(verification_, std::nullopt), this);
        accept();
        return;
    }
    // The link has said why; this says what it cost. The marker goes last,
    // so the position holds no half-written preset marked used.
    const QString position = PositionText(request.slot + model::kFirstUserPosition);
    dialogs_.inform(markerUnconfirmed_ ? QStringLiteral("Position %1 may not have been stored: every byte was "
                                                        "written, but the device did not confirm it.")
                                             .arg(position)
                                       : QStringLiteral("Position %1 was not stored.").arg(position),
                    QString::fromLatin1(kStoreQuestionTitle), ui::Icon::Exclamation, this);
    reject();
}

void StorePresetDialog::done(int result) {
    // Closing mid-store would leave the job writing into a window gone.
    if (transferRunning_ || libraryButtons_->transferRunning()) {
        link_.work().refuse();
        return;
    }
    QDialog::done(result);
}

std::optional<StoreRequest> StorePresetDialog::checkedRequest() {
    auto checked = CheckStoreRequest(positionBox_->currentText(), nameBox_->text());
    if (const auto* refusal = std::get_if<StoreRefusal>(&checked)) {
        dialogs_.show({QString::fromLatin1(StoreRefusalText(*refusal)), QString::fromLatin1(kStoreQuestionTitle),
                       ui::Icon::Exclamation, ui::Buttons::Ok, ui::Answer::Ok},
                      this);
        return std::nullopt;
    }
    return std::get<StoreRequest>(std::move(checked));
}

bool StorePresetDialog::storeToDevice() {
    const auto request = checkedRequest();
    return request && startStore(*request);
}

void StorePresetDialog::stepProgress(int value) { progressBar_->setValue(value); }

void StorePresetDialog::onLibraryChanged(bool titleChanged, bool linkLost) {
    panel_->refreshNames(library_);
    if (titleChanged)
        editor_.showPresetTitle(QString::fromStdU32String(model::PrintablePresetName(library_.presetTitle)));
    if (linkLost) reject();
}

devlink::Task<bool> StorePresetDialog::store(const StoreRequest& request) {
    // Demo mode sends nothing either way; the plain store keeps its lists.
    if (changedBytesBox_->isChecked() && !link_.flags().demoMode) {
        const bool stored = co_await storeChangedBytes(request);
        co_return stored;
    }
    progressBar_->setMaximum(kStoreProgressMaximum);
    progressBar_->show();
    libraryButtons_->setTransferRunning(true);
    const StoreProgress stepped = [this](int done) { stepProgress(done); };
    const StoreResult result = co_await StorePreset(link_, library_, image_, request, stepped);
    libraryButtons_->setTransferRunning(false);
    if (result == StoreResult::Stored) showStored();
    markerUnconfirmed_ = result == StoreResult::LostAtMarker;
    progressBar_->setValue(0);
    progressBar_->hide();
    co_return result == StoreResult::Stored;
}

void StorePresetDialog::showStored() {
    editor_.showPresetTitle(QString::fromStdU32String(model::PrintablePresetName(library_.presetTitle)));
    editor_.setPresetSource(QString::fromLatin1(kLoadedFromDevice));
}

// The verification is reported whatever it found; a lost link has said why
// already, and the caller says what it cost.
devlink::Task<bool> StorePresetDialog::storeChangedBytes(const StoreRequest& request) {
    progressBar_->setMaximum(1);
    progressBar_->show();
    libraryButtons_->setTransferRunning(true);
    DeviceBlock data{};
    std::copy_n(image_.begin(), data.size(), data.begin());
    const WriteProgress stepped = [this](int done, int total) {
        progressBar_->setMaximum(total);
        stepProgress(done);
    };
    const PositionWriteReport report =
        co_await WriteChangedBytes(link_, library_, request, data, KnownFromLibrary(library_, request.slot), stepped);
    libraryButtons_->setTransferRunning(false);
    progressBar_->setValue(0);
    progressBar_->hide();
    const int position = request.slot + model::kFirstUserPosition;
    const bool verified = report.outcome == PositionWriteOutcome::StoredAndVerified;
    if (verified || report.outcome == PositionWriteOutcome::DiffersAfterWriting) {
        library_.presetTitle = PresetTitleText(position, library_.names[static_cast<std::size_t>(position) - 1]);
        showStored();
        // Said once the store is over, never inside it.
        verification_ = {QStringLiteral("Position %1: %2 (%3).")
                             .arg(PositionText(position), QString::fromStdString(PositionWriteText(report)),
                                  QString::fromStdString(ByteCountText(report.written, report.skipped))),
                         QString::fromLatin1(kStoreQuestionTitle),
                         verified ? ui::Icon::Information : ui::Icon::Exclamation};
        co_return true;
    }
    co_return false;
}

}  // namespace presets
