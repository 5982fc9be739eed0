#pragma once
// The manual notch rows of both channels: gain, frequency and width bars,
// the gain and frequency boxes, and the reset buttons. Every edit of notch n
// is sent, drawn, and then, while the channels are linked, repeated on its
// partner in the other channel.
#include <functional>

#include "editor/editor_state.h"
#include "editor/typed_key_filter.h"

namespace editor {

class NotchRowEditor {
public:
    explicit NotchRowEditor(EditorState& state) : s_(state) {}

    void connectControls();

    // Row n's controls into the arrays, the image record and a SetNotch frame.
    void sendNotch(int n);
    // Recomputes notch n's response and redraws its channel's curve.
    void computeNotchResponse(int n);
    // Brings notch n's row into view and the keyboard to its frequency.
    void focusRow(int n);
    // sendNotch, then computeNotchResponse.
    void applyNotch(int n);
    void redrawGraph();
    // The row numbers of the channel's active notches as their markers.
    void showActiveRows(int channel);
    // Rows beyond the channel's automatic count are the user's; the others
    // belong to the device's search.
    void enableManualNotches(int channel);
    void refreshRowTips(int n);
    // The image record of notch n into its row, without sending.
    void showNotchRecord(int n);

    // The Enter and warning handling of one of the editor's number boxes.
    TypedKeyFilter::Handlers boxHandlers(std::function<bool()> commit, const char* warning);

private:
    void onGainBarChanged(int n);
    void onFreqBarChanged(int n);
    void onWidthBarChanged(int n);
    bool commitGainBox(int n);
    bool commitFreqBox(int n);
    void onResetClicked(int index);
    void resetChannel(int channel, bool automaticRows);

    EditorState& s_;
};

}  // namespace editor
