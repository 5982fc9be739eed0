#include "app/found_notches_window.h"

#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <optional>
#include <span>

#include "app/text_file_save.h"
#include "ui/user_dialogs.h"

namespace app {

FoundNotchesWindow::FoundNotchesWindow(ui::UserDialogs& dialogs, QWidget* parent, TimeOfDay now)
    : QWidget(parent, Qt::Window),
      dialogs_(dialogs),
      now_(std::move(now)),
      list_(new QListWidget(this)),
      saveButton_(new QPushButton("Save as CSV...", this)),
      clearButton_(new QPushButton("Clear", this)) {
    setObjectName("FoundNotches");
    setWindowTitle("Found notches");
    list_->setObjectName("FoundNotchList");
    list_->setAccessibleName("Found notches");
    saveButton_->setObjectName("SaveFoundNotchesButton");
    clearButton_->setObjectName("ClearFoundNotchesButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveButton_);
    buttons->addWidget(clearButton_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    connect(saveButton_, &QPushButton::clicked, this, &FoundNotchesWindow::save);
    connect(clearButton_, &QPushButton::clicked, this, &FoundNotchesWindow::clear);
    resize(360, 420);
}

void FoundNotchesWindow::take(notch::ReportBytes report, const model::PresetImage& image) {
    const std::optional<notch::SearchReport> decoded = notch::DecodeSearchReport(report);
    if (!decoded) return;
    log_.add(image, decoded->n, now_().msecsSinceStartOfDay() / 1000);
    list_->insertItem(0, QString::fromStdString(notch::FoundNotchText(log_.newestFirst().front())));
    // The oldest entry the log let go of leaves the list too.
    while (list_->count() > static_cast<int>(log_.newestFirst().size())) delete list_->takeItem(list_->count() - 1);
    emit added();
}

void FoundNotchesWindow::save() {
    SaveTextFile(dialogs_,
                 {"Save found notches", QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                  "CSV file (*.csv)"},
                 ".csv", notch::FoundNotchesCsv(log_.newestFirst()), "The found notches", this);
}

void FoundNotchesWindow::clear() {
    log_.clear();
    list_->clear();
}

}  // namespace app
