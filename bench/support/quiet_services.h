#pragma once
// Stand-ins for benchmarks: dialogs that answer Yes without showing
// anything, and a link end that only remembers why the link was lost.
#include <string>

#include "devlink/device_link.h"
#include "ui/user_dialogs.h"

namespace bench_support {

class YesDialogs final : public ui::UserDialogs {
public:
    ui::Answer show(const ui::Message&, QWidget*) override { return ui::Answer::Yes; }
    QString openFileName(const ui::FileRequest&, QWidget*) override { return {}; }
    QString saveFileName(const ui::FileRequest&, QWidget*) override { return {}; }
    std::optional<QString> askText(const ui::TextPrompt&, QWidget*) override { return std::nullopt; }
    void setBusy(bool) override {}
};

class RecordingEnd final : public devlink::LinkEnd {
public:
    void linkLost(const std::string& message) override { lost = message; }
    std::string lost;
};

}  // namespace bench_support
