#pragma once
// Every message box, question, file dialog and busy pointer goes through this
// interface, so that tests answer from a script and no test can hang on a
// modal window. Windows of every layer take a reference to it.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace ui {

enum class Icon { None, Exclamation, Critical, Information };
enum class Buttons { Ok, YesNo, SaveDiscardCancel };
enum class Answer { Ok, Yes, No, Save, Discard, Cancel };

// Two buttons that say what they do, in place of Yes and No: Yes is the
// first, No the second.
struct ChoiceTexts {
    QString yes;
    QString no;
};

struct Message {
    QString text;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    Answer defaultButton = Answer::Ok;
    // With Buttons::YesNo; empty keeps the desktop's Yes and No.
    ChoiceTexts choices{};
    // Set for a question that device work waits on: what the program waits
    // for meanwhile, in a few words for whoever else may answer it (the
    // web remote's pages). Empty: asked on this screen alone.
    QString waitingFor{};
};

struct FileRequest {
    QString title;
    QString folder;
    QString filter;  // as QFileDialog takes it: "file preset (*.Fbk)"
};

struct TextPrompt {
    QString title;
    QString label;
    QString text;         // what the box holds at first, or the choice shown first
    QStringList choices;  // when given, one of them is picked instead of typed
    bool typable = false; // with choices: an entry of the user's own may be typed instead
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    virtual Answer show(const Message& message, QWidget* parent = nullptr) = 0;
    // The same question without waiting for it: the box opens and `then`
    // is told its answer once it is given. What device work asks goes this
    // way, so no event loop runs inside the work. A script answers at once.
    virtual void showThen(const Message& message, QWidget* parent, std::function<void(Answer)> then) {
        then(show(message, parent));
    }
    // The chosen path, or an empty string when the user cancelled.
    virtual QString openFileName(const FileRequest& request, QWidget* parent = nullptr) = 0;
    virtual QString saveFileName(const FileRequest& request, QWidget* parent = nullptr) = 0;
    // The text typed or the choice picked; nothing when the user cancelled.
    virtual std::optional<QString> askText(const TextPrompt& prompt, QWidget* parent = nullptr) = 0;
    // The arrow-and-hourglass pointer while long work runs.
    virtual void setBusy(bool busy) = 0;

    void inform(const QString& text, const QString& title, Icon icon, QWidget* parent = nullptr) {
        show({text, title, icon, Buttons::Ok, Answer::Ok}, parent);
    }
    bool confirm(const QString& text, const QString& title, Answer defaultButton, Icon icon = Icon::None,
                 QWidget* parent = nullptr) {
        return show({text, title, icon, Buttons::YesNo, defaultButton}, parent) == Answer::Yes;
    }
    // True for the first choice. Escape and the close box do nothing: each
    // button says what it does, and neither is a way out of the choice.
    bool choose(const QString& text, const QString& title, const ChoiceTexts& choices, Answer defaultButton,
                Icon icon = Icon::None, QWidget* parent = nullptr) {
        return show({text, title, icon, Buttons::YesNo, defaultButton, choices}, parent) == Answer::Yes;
    }
    // Buttons reading Save, Discard and Cancel; Escape or closing the box
    // is Cancel.
    Answer askToSave(const QString& text, const QString& title, QWidget* parent = nullptr) {
        return show({text, title, Icon::Exclamation, Buttons::SaveDiscardCancel, Answer::Save}, parent);
    }
};

// Shows the busy pointer for the life of the object.
class BusyPointer {
public:
    explicit BusyPointer(UserDialogs& dialogs) : dialogs_(dialogs) { dialogs_.setBusy(true); }
    ~BusyPointer() { dialogs_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    UserDialogs& dialogs_;
};

}  // namespace ui
