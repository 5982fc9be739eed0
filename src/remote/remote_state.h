#pragma once
// What every page is shown: the settings (from the preset image, the one
// state the editor and the device share) and what the program around them
// is doing, as JSON messages.
#include <QJsonObject>
#include <QString>

#include "model/preset_image.h"
#include "model/value_tables.h"
#include "notch/found_notches.h"

namespace remote {

// A question the program's own work waits on (whose settings to keep when
// the device answers again), put to every page: any may answer it.
struct HeldQuestion {
    int id = 0;
    QString title;
    QString text;
    QString yes;  // the buttons' words; empty: Yes and No
    QString no;
    QString waitingFor;  // what the program waits for, said in place of the status
};

struct Activity {
    bool linked = false;
    int search = -1;  // the running search's selector, -1 while none runs
    bool online = true;
    bool demo = false;
    bool busy = false;  // a transfer holds the device: edits are refused
    QString status;     // "Connected: port 5 (/dev/ttyUSB0)", "Offline: ...", "Demo mode"
    // What the searches found, when the program keeps it.
    const notch::FoundNotches* found = nullptr;
    // The question held open, if any: until it is answered the status says
    // what the program waits for.
    const HeldQuestion* question = nullptr;
};

// The newest entries of the log go with every state: states a page is sent
// close together are joined into one, and a page may join in the middle of
// a search. One for each notch of both channels.
inline constexpr int kFoundInState = model::kNotches;

// {"type":"state", "channels":[{"rows":[{"frequency","gain","width","automatic"}],
// "settings":{...}}], "linked", "search", "online", "demo", "busy", "status",
// "found":[{"id","channel","row","text"}, newest first],
// "question":{"id","title","text","yes","no"} or null}
QJsonObject StateMessage(const model::PresetImage& image, const Activity& activity);

// What the page needs once to show values as the editor does: the
// frequencies of the codes, the width names and Q, the settings' captions,
// ranges and value texts.
QJsonObject TablesMessage();

// {"type":"error","text":...}, {"type":"ask","id":...,"title":...,"text":...}
QJsonObject ErrorMessage(const QString& text);
QJsonObject AskMessage(int id, const QString& title, const QString& text);

}  // namespace remote
