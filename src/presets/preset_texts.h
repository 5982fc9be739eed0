#pragma once
// The words the preset dialogs and the file commands show, in one place so
// that the windows and their tests agree on every blank.
namespace presets {

inline constexpr char kReadCaption[] = "Read Preset";
inline constexpr char kReadingCaption[] = "Reading Preset......";
inline constexpr char kStoreCaption[] = "Store preset";
inline constexpr char kStoreQuestionTitle[] = "Store Preset";
inline constexpr char kStoreQuestion[] = "               Are you sure ? ";
inline constexpr char kPresetEmpty[] = "Preset empty";
inline constexpr char kReadQuestionHead[] = "Overwrite current editing with the preset ";
inline constexpr char kReadQuestionTail[] = ", are you sure ? ";

inline constexpr char kCancelText[] = "Cancel";
inline constexpr char kReadText[] = "Read";
inline constexpr char kStoreText[] = "Store";
inline constexpr char kMemoryPresetLabel[] = "Memory Preset";
inline constexpr char kEditNameLabel[] = "Edit Name";
inline constexpr char kSelectPositionLabel[] = "Select position";
inline constexpr char kReadListTip[] = "Double click to load a preset";
inline constexpr char kStoreListTip[] = "Double click to select a preset";

inline constexpr char kLoadedFromDevice[] = "Preset loaded from Device";
inline constexpr char kLoadedFromPc[] = "Preset loaded from PC";

// Refusals of a store that would write the wrong thing.
inline constexpr char kNoPositionSelected[] = "Select a position from 05 to 20 in the list before storing.";
inline constexpr char kPositionNotRead[] = "Position %1 was not read.";
inline constexpr char kReadFailed[] = "The preset could not be read: the device's port did not open again.";
inline constexpr char kNameNotStorable[] =
    "The name holds a character the device cannot store. "
    "Use letters, digits, blanks and punctuation of the Latin-1 set.";

// Preset files.
inline constexpr char kFileFilter[] = "file preset (*.Fbk)";
inline constexpr char kPresetFolderName[] = "Preset";
inline constexpr char kOpenFileTitle[] = "Open";
inline constexpr char kSaveFileTitle[] = "Save As";
inline constexpr char kErrorTitle[] = " Error";
inline constexpr char kFileNotFound[] = " File not found. Try again.";

}  // namespace presets
