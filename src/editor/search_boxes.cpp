#include "editor/search_boxes.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

#include "editor/control_names.h"

namespace editor {
namespace {

// Captions as the window stores them; a doubled ampersand shows as one.
const char* const kSearchCaptions[] = {"Search Feedback L&&R", "Search Feedback L", "Search Feedback R"};

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

}  // namespace editor
