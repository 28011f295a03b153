#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace durnak::protocol {

// A frame is a 4-byte big-endian length followed by that many payload bytes.
constexpr std::size_t kFrameHeaderSize = 4;
constexpr std::size_t kDefaultFrameLimit = 64u * 1024u * 1024u;

void appendFrame(std::string& out, std::string_view payload);
std::uint32_t readFrameLength(const unsigned char* header);

// Incremental frame splitter for a byte stream. Throws ProtocolError as soon as a
// header announces a payload above the limit, before any of it is buffered.
class FrameDecoder {
public:
    explicit FrameDecoder(std::size_t limit = kDefaultFrameLimit) : limit_(limit) {}

    void feed(std::string_view bytes);
    std::optional<std::string> next();
    std::size_t buffered() const { return buffer_.size() - consumed_; }
    // Bytes still missing for the frame being received (header included), for exact reads.
    std::size_t wanted() const;

private:
    std::string buffer_;
    std::size_t consumed_ = 0;
    std::size_t limit_;
};

} // namespace durnak::protocol
