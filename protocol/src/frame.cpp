#include "durnak/protocol/frame.hpp"

#include "durnak/protocol/error.hpp"

namespace durnak::protocol {

void appendFrame(std::string& out, std::string_view payload)
{
    if (payload.size() > 0xFFFFFFFFu) throw ProtocolError("Çerçeve çok büyük");
    const auto n = static_cast<std::uint32_t>(payload.size());
    const char header[kFrameHeaderSize] = {static_cast<char>(n >> 24), static_cast<char>(n >> 16),
                                           static_cast<char>(n >> 8), static_cast<char>(n)};
    out.append(header, kFrameHeaderSize);
    out.append(payload);
}

std::uint32_t readFrameLength(const unsigned char* h)
{
    return (std::uint32_t(h[0]) << 24) | (std::uint32_t(h[1]) << 16) | (std::uint32_t(h[2]) << 8) |
           std::uint32_t(h[3]);
}

void FrameDecoder::feed(std::string_view bytes)
{
    // Drop what was consumed before growing, so a long-lived connection does not accumulate.
    if (consumed_ > 0 && consumed_ == buffer_.size()) {
        buffer_.clear();
        consumed_ = 0;
    } else if (consumed_ > 64 * 1024 && consumed_ * 2 > buffer_.size()) {
        buffer_.erase(0, consumed_);
        consumed_ = 0;
    }
    buffer_.append(bytes);
    // Validate the announced length early, before buffering a huge payload.
    if (buffered() >= kFrameHeaderSize) {
        const auto len = readFrameLength(reinterpret_cast<const unsigned char*>(buffer_.data() + consumed_));
        if (len > limit_)
            throw ProtocolError("Çerçeve boyu sınırı aşıyor: " + std::to_string(len) + " bayt");
    }
}

std::size_t FrameDecoder::wanted() const
{
    const std::size_t have = buffered();
    if (have < kFrameHeaderSize) return kFrameHeaderSize - have;
    const auto len = readFrameLength(reinterpret_cast<const unsigned char*>(buffer_.data() + consumed_));
    const std::size_t total = kFrameHeaderSize + len;
    return have >= total ? 0 : total - have;
}

std::optional<std::string> FrameDecoder::next()
{
    if (buffered() < kFrameHeaderSize) return std::nullopt;
    const auto len = readFrameLength(reinterpret_cast<const unsigned char*>(buffer_.data() + consumed_));
    if (len > limit_) throw ProtocolError("Çerçeve boyu sınırı aşıyor: " + std::to_string(len) + " bayt");
    if (buffered() < kFrameHeaderSize + len) return std::nullopt;
    std::string payload = buffer_.substr(consumed_ + kFrameHeaderSize, len);
    consumed_ += kFrameHeaderSize + len;
    return payload;
}

} // namespace durnak::protocol
