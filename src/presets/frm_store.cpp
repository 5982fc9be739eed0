#include "presets/frm_store.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/frm_eq.h"
#include "presets/preset_list_panel.h"
#include "presets/preset_texts.h"
#include "presets/preset_words.h"
#include "presets/store_frames.h"

namespace presets {

FrmStore::FrmStore(model::PresetLibrary& library, model::PresetImage& image, devlink::DeviceLink& link,
                   editor::FrmEq& editor, ui::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      library_(library),
      image_(image),
      link_(link),
      editor_(editor),
      dialogs_(dialogs),
      panel_(new PresetListPanel(model::kFirstUserPosition, QString::fromLatin1(kStoreListTip), this)),
      text1_(new QLineEdit(this)),
      combo1_(new QComboBox(this)),
      progressBar1_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("FrmStore"));
    setWindowTitle(QString::fromLatin1(kStoreCaption));
    setModal(true);

    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setAccessibleName(QString::fromLatin1(kEditNameLabel));
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setAccessibleName(QString::fromLatin1(kSelectPositionLabel));
    combo1_->setEditable(true);
    // Typing never adds a position: only the sixteen items are preset memory.
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    for (int p = model::kFirstUserPosition; p <= model::kPresetPositions; ++p) combo1_->addItem(PositionText(p));
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setAccessibleName(QStringLiteral("Store progress"));
    progressBar1_->setTextVisible(false);
    // The window takes no events while a store runs, so showing the bar then
    // must not need a new layout: its place is kept while it is hidden.
    QSizePolicy barPolicy = progressBar1_->sizePolicy();
    barPolicy.setRetainSizeWhenHidden(true);
    progressBar1_->setSizePolicy(barPolicy);

    auto* fields = new QFormLayout;
    auto* nameLabel = new QLabel(QString::fromLatin1(kEditNameLabel), this);
    auto* positionLabel = new QLabel(QString::fromLatin1(kSelectPositionLabel), this);
    nameLabel->setBuddy(text1_);
    positionLabel->setBuddy(combo1_);
    fields->addRow(nameLabel, text1_);
    fields->addRow(positionLabel, combo1_);

    auto* top = new QHBoxLayout;
    top->addWidget(panel_);
    top->addSpacing(12);
    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addStretch(1);
    top->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(progressBar1_);
    auto* row = new QHBoxLayout;
    command1_ = MakeCommandButtons(this, row, QString::fromLatin1(kStoreText));
    layout->addLayout(row);

    for (int i = 0; i < 2; ++i)
        connect(Command1(i), &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(List1(), &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
    List1()->installEventFilter(this);
    setTabOrder(List1(), text1_);
    setTabOrder(text1_, combo1_);
    setTabOrder(combo1_, Command1(1));
    setTabOrder(Command1(1), Command1(0));

    Form_Load();
}

QListWidget* FrmStore::List1() const { return panel_->list(); }

void FrmStore::Form_Load() {
    progressBar1_->hide();
    progressBar1_->setValue(0);
    panel_->showNames(library_);
    // The name as the library holds it, so that storing it again keeps its bytes.
    text1_->setText(QString::fromStdU32String(library_.names[model::kFixedPositions]));
    combo1_->setCurrentIndex(0);
    text1_->setFocus();
    text1_->selectAll();
}

bool FrmStore::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            List1_DblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmStore::List1_DblClick() {
    const int k = List1()->currentRow();
    if (k < 0 || k >= model::kUserPositions) return;
    text1_->setText(QString::fromStdU32String(library_.names[static_cast<std::size_t>(model::kFixedPositions + k)]));
    combo1_->setCurrentIndex(k);
}

void FrmStore::Command1_Click(int index) {
    if (index == 0) {
        reject();
        return;
    }
    // Refused before the question: there is nothing to be sure about.
    const auto request = checkedRequest();
    if (!request) return;
    if (!dialogs_.confirm(QString::fromLatin1(kStoreQuestion), QString::fromLatin1(kStoreQuestionTitle),
                          ui::Answer::Yes, ui::Icon::None, this))
        return;
    bool stored = false;
    {
        ui::BusyPointer busy(dialogs_);
        stored = store(*request);
    }
    if (stored)
        accept();
    else
        reject();
}

std::optional<StoreRequest> FrmStore::checkedRequest() {
    auto checked = CheckStoreRequest(combo1_->currentText(), text1_->text());
    if (const auto* refusal = std::get_if<ui::Message>(&checked)) {
        dialogs_.show(*refusal, this);
        return std::nullopt;
    }
    return std::get<StoreRequest>(std::move(checked));
}

bool FrmStore::Memorize_eep() {
    const auto request = checkedRequest();
    return request && store(*request);
}

void FrmStore::stepProgress(int value) {
    progressBar1_->setValue(value);
    // The window gets no events while the frames go out; paint it now.
    progressBar1_->repaint();
}

bool FrmStore::store(const StoreRequest& request) {
    const int position = request.slot + model::kFirstUserPosition;
    const auto index = static_cast<std::size_t>(position - 1);
    progressBar1_->setMaximum(kStoreProgressMaximum);
    progressBar1_->show();
    stepProgress(0);

    const StorePlan plan = StorePayloads(image_, request.nameBytes, request.slot);
    bool lost = false;
    for (int f = 0; f < kStoreByteFrames && !lost; ++f) {
        link_.SendCommand(plan[static_cast<std::size_t>(f)]);
        lost = link_.ended();
        if (!lost) stepProgress(f + 1);
    }
    if (!lost) {
        // The lists change only for a store that reached its marker frame.
        library_.names[index] = request.name;
        library_.used[index] = true;
        link_.SendCommand(plan.back());
        lost = link_.ended();
    }
    if (!lost) {
        library_.presetTitle = PresetTitleText(position, library_.names[index]);
        editor_.ShowPresetTitle(QString::fromStdU32String(model::PrintablePresetName(library_.presetTitle)));
        editor_.setPresetSource(QString::fromLatin1(kLoadedFromDevice));
    }
    progressBar1_->setValue(0);
    progressBar1_->hide();
    return !lost;
}

}  // namespace presets
