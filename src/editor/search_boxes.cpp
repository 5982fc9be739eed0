#include "editor/search_boxes.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "editor/control_names.h"

namespace editor {
namespace {

// Captions as the window stores them; a doubled ampersand shows as one.
const char* const kSearchCaptions[] = {"Search Feedback L&&R", "Search Feedback L", "Search Feedback R"};

const char* const kSearchStatus[] = {"Search running: Left & Right", "Search running: Left", "Search running: Right"};

QLabel* StatusText(const char* objectName) {
    auto* label = new QLabel;
    label->setObjectName(QLatin1String(objectName));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    // Always whole: the preset's source and title beside it give way
    // instead. The margin at its end keeps it apart from them.
    label->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    label->setContentsMargins(0, 0, 6, 0);
    label->hide();
    return label;
}

// What a screen reader should say: the caption as it is shown.
QString Shown(const QString& caption) { return QString(caption).replace(QStringLiteral("&&"), QStringLiteral("&")); }

}  // namespace

void BuildSearchAndLinkBoxes(EditorControls& c, QList<QWidget*>& tabOrder) {
    c.linkBox = new QCheckBox(QStringLiteral("Link channel Left && Right"));
    c.linkBox->setObjectName(QStringLiteral("Check2"));
    c.linkBox->setAccessibleName(Shown(c.linkBox->text()));
    c.topRow->addWidget(c.linkBox);
    c.topRow->addSpacing(12);
    tabOrder << c.linkBox;

    for (int k = 0; k < static_cast<int>(c.searchButtons.size()); ++k) {
        auto* box = new QPushButton(QString::fromLatin1(kSearchCaptions[k]));
        box->setObjectName(ArrayObjectName("Check1", k));
        box->setAccessibleName(Shown(box->text()));
        box->setCheckable(true);  // stays down while its search runs
        box->setMinimumWidth(150);
        c.searchButtons[k] = box;
        c.topRow->addWidget(box);
        tabOrder << box;
    }
}

void BuildStatusTexts(EditorControls& c) {
    c.searchStatus = StatusText("SearchStatus");
    c.demoNotice = StatusText("DemoNotice");
    c.demoNotice->setText(QStringLiteral("Demo mode"));
    // Short and fixed: it keeps its width, and the search status beside it
    // is never cut to share the room.
    c.demoNotice->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    c.topRow->addSpacing(12);
    c.topRow->addWidget(c.demoNotice);
    c.topRow->addSpacing(12);
    // Far more stretch than the row's own: when shown it takes its room.
    constexpr int kTakesTheRoom = 1000;
    c.topRow->addWidget(c.searchStatus, kTakesTheRoom);
}

void ShowSearchRunning(const EditorControls& c, int k, bool running) {
    QPushButton* button = c.searchButtons.at(static_cast<std::size_t>(k));
    QFont font = button->font();
    font.setBold(running);
    button->setFont(font);
    c.searchStatus->setText(running ? QString::fromLatin1(kSearchStatus[k]) : QString());
    c.searchStatus->setVisible(running);
}

void ShowDemoMode(const EditorControls& c, bool demo) { c.demoNotice->setVisible(demo); }

}  // namespace editor
