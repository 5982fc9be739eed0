#include "cli/list_progress.h"

#include "model/preset_library.h"
#include "model/preset_name.h"

namespace cli {

devlink::LibraryReadSteps ListProgress::steps() {
    devlink::LibraryReadSteps steps;
    // The program's name comes after the used positions'.
    steps.markersRead = [this](int used) { names_ = used + 1; };
    steps.frameDone = [this] {
        frameDone();
        return true;
    };
    return steps;
}

void ListProgress::frameDone() {
    ++frames_;
    if (frames_ <= model::kUserPositions) {
        console_.progress(QString("Reading the preset list: %1 of %2").arg(frames_).arg(model::kUserPositions));
        return;
    }
    const int namesDone = (frames_ - model::kUserPositions) / model::kNameLength;
    console_.progress(QString("Reading the preset names: %1 of %2").arg(namesDone).arg(names_));
}

}  // namespace cli
