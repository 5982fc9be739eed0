#pragma once
// The progress bar of the read and store windows. A transfer runs while the
// window refuses input, so showing the bar then must not need a new layout:
// its place is kept while it is hidden.
#include <QProgressBar>

namespace presets {

inline void SetUpTransferBar(QProgressBar* bar, const QString& objectName, const QString& accessibleName) {
    bar->setObjectName(objectName);
    bar->setAccessibleName(accessibleName);
    bar->setTextVisible(false);
    QSizePolicy policy = bar->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    bar->setSizePolicy(policy);
}

}  // namespace presets
