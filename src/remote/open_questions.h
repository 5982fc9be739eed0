#pragma once
// The questions a target has asked pages and not yet had answered: each is
// the request that asked it, to be carried out again with the answer, by
// the page it was asked on and by no other.
#include <map>
#include <optional>

#include "remote/protocol.h"

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

private:
    struct Open {
        int client;
        Request request;
    };
    std::map<int, Open> open_;
    int next_ = 1;
};

inline constexpr char kNoSuchQuestion[] = "No such question is open";

}  // namespace remote
