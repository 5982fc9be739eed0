#pragma once
// The progress line of the preset list's read (a frame per byte, some forty
// frames): the sixteen positions' markers counted first, then the names of
// the used positions and the program's, each count against a total that
// stays put.
#include "cli/console.h"
#include "devlink/library_read.h"

namespace cli {

class ListProgress {
public:
    explicit ListProgress(Console& console) : console_(console) {}
    ListProgress(const ListProgress&) = delete;
    ListProgress& operator=(const ListProgress&) = delete;

    // For devlink::ReadDeviceLibrary; they never stop it.
    devlink::LibraryReadSteps steps();

private:
    void frameDone();

    Console& console_;
    int frames_ = 0;
    int names_ = 0;  // known once the markers are in
};

}  // namespace cli
