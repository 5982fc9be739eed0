#pragma once
// Follows the WebSocket frames going out on a connection, however they are
// cut into writes, and tells the opcode of each as its header completes.
// Qt's socket answers a ping with a pong by itself and tells nobody: the
// pong on its way out is how the ping is seen.
#include <QByteArrayView>
#include <algorithm>
#include <array>
#include <cstdint>

namespace remote {

inline constexpr int kPongOpcode = 0xA;

class OutgoingFrames {
public:
    // Calls onFrame(opcode) for every frame whose header ends in `bytes`.
    template <typename OnFrame>
    void follow(QByteArrayView bytes, OnFrame&& onFrame) {
        for (qsizetype at = 0; at < bytes.size();) {
            if (payloadLeft_ > 0) {
                const auto skipped = static_cast<qsizetype>(
                    std::min<std::uint64_t>(payloadLeft_, static_cast<std::uint64_t>(bytes.size() - at)));
                payloadLeft_ -= static_cast<std::uint64_t>(skipped);
                at += skipped;
                continue;
            }
            header_[static_cast<std::size_t>(headerSize_++)] = static_cast<std::uint8_t>(bytes[at++]);
            if (headerSize_ == headerLength()) onFrame(takeHeader());
        }
    }

private:
    int headerLength() const;
    int takeHeader();  // the opcode; the payload's length is left to skip

    std::array<std::uint8_t, 14> header_{};
    int headerSize_ = 0;
    std::uint64_t payloadLeft_ = 0;
};

}  // namespace remote
