#pragma once
// The questions a target has asked pages and not yet had answered. Most are
// a page's own: the request that asked it, to be carried out again with the
// answer, by the page it was asked on and by no other. One at a time may be
// held: a question the program's own work waits on, put to every page as
// well as on the program's screen, where the first answer from anywhere is
// the one taken.
#include <functional>
#include <map>
#include <optional>

#include "remote/protocol.h"
#include "remote/remote_state.h"

namespace remote {

class OpenQuestions {
public:
    // The id the page answers with.
    int ask(int client, const Request& request) {
        const int id = next_++;
        open_[id] = {client, request};
        return id;
    }
    // The request behind the question, once: nothing when no such question
    // was asked on this page.
    std::optional<Request> take(int id, int client) {
        const auto found = open_.find(id);
        if (found == open_.end() || found->second.client != client) return std::nullopt;
        Request asked = found->second.request;
        open_.erase(found);
        return asked;
    }
    // The page is gone: its questions go unanswered.
    void forget(int client) {
        std::erase_if(open_, [client](const auto& entry) { return entry.second.client == client; });
    }

    // Holds `question` (in place of any held before) under a new id, which
    // it returns; `answer` carries a page's answer out, false when it can
    // no longer be taken.
    int hold(HeldQuestion question, std::function<bool(bool yes)> answer) {
        question.id = next_++;
        held_ = Held{std::move(question), std::move(answer)};
        return held_->question.id;
    }
    // Answered on the program's screen, or no longer asked.
    void release() { held_.reset(); }
    const HeldQuestion* held() const { return held_ ? &held_->question : nullptr; }
    // A page's answer to the held question: true when it was taken, which
    // only the first can be. False when `id` is not the held question's.
    bool answerHeld(int id, bool yes) {
        if (!held_ || held_->question.id != id || !held_->answer(yes)) return false;
        held_.reset();
        return true;
    }

private:
    struct Open {
        int client;
        Request request;
    };
    struct Held {
        HeldQuestion question;
        std::function<bool(bool)> answer;
    };
    std::map<int, Open> open_;
    std::optional<Held> held_;
    int next_ = 1;
};

inline constexpr char kNoSuchQuestion[] = "No such question is open";

}  // namespace remote
