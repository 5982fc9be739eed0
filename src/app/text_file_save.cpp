#include "app/text_file_save.h"

#include <QDir>
#include <cstdint>
#include <span>

#include "presets/atomic_file.h"

namespace app {

void SaveTextFile(ui::UserDialogs& dialogs, const ui::FileRequest& request, const QString& suffix,
                  const std::string& text, const QString& what, QWidget* parent) {
    QString path = dialogs.saveFileName(request, parent);
    if (path.isEmpty()) return;
    if (!suffix.isEmpty() && !path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (const auto reason = presets::ReplaceFileContents(path, std::span(bytes, text.size())))
        dialogs.inform(what + " could not be written to \"" + QDir::toNativeSeparators(path) + "\" (" + *reason + ").",
                       request.title, ui::Icon::Critical, parent);
}

}  // namespace app
