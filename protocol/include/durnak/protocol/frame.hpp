#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace durnak::protocol {

// A frame is a 4-byte big-endian length followed by that many payload bytes.
constexpr std::size_t kFrameHeaderSize = 4;
constexpr std::size_t kDefaultFrameLimit = 64u * 1024u * 1024u;

void appendFrame(std::string& out, std::string_view payload);
std::uint32_t readFrameLength(const unsigned char* header);

// Incremental frame splitter for a byte stream. Each payload is received straight into
// its own buffer, so a large frame is copied once. A header announcing more than the limit
// is an error: next() raises ProtocolError once the frames before it have been taken.
class FrameDecoder {
public:
    explicit FrameDecoder(std::size_t limit = kDefaultFrameLimit) : limit_(limit) {}

    void feed(std::string_view bytes);
    std::optional<std::string> next();
    // Bytes received but not yet taken with next().
    std::size_t buffered() const { return readyBytes_ + headerHave_ + payload_.size(); }
    // Bytes still missing for the frame being received (header included), for exact reads.
    std::size_t wanted() const;

private:
    std::deque<std::string> ready_;
    std::size_t readyBytes_ = 0;
    unsigned char header_[kFrameHeaderSize] = {};
    std::size_t headerHave_ = 0;
    std::size_t payloadLength_ = 0;
    std::string payload_;
    std::string error_;
    std::size_t limit_;
};

} // namespace durnak::protocol
