#pragma once
// A window's text saved where the user chooses: asked for, written whole or
// not at all, and said plainly when it could not be.
#include <QString>
#include <string>

#include "ui/user_dialogs.h"

namespace app {

// `what` names the text in the failure ("The device log"); `suffix`
// (".csv"), when given, is added to a path typed without it.
void SaveTextFile(ui::UserDialogs& dialogs, const ui::FileRequest& request, const QString& suffix,
                  const std::string& text, const QString& what, QWidget* parent);

}  // namespace app
