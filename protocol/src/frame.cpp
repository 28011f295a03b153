#include "durnak/protocol/frame.hpp"

#include <algorithm>

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
    // Reserve no more than this before the bytes actually arrive: a bare header must not
    // make us allocate the whole announced size.
    constexpr std::size_t kEagerReserve = 1u << 20;
    while (!bytes.empty() && error_.empty()) {
        if (headerHave_ < kFrameHeaderSize) {
            while (headerHave_ < kFrameHeaderSize && !bytes.empty()) {
                header_[headerHave_++] = static_cast<unsigned char>(bytes.front());
                bytes.remove_prefix(1);
            }
            if (headerHave_ < kFrameHeaderSize) break;
            payloadLength_ = readFrameLength(header_);
            if (payloadLength_ > limit_) {
                error_ = "Çerçeve boyu sınırı aşıyor: " + std::to_string(payloadLength_) + " bayt";
                break;
            }
            payload_.clear();
            payload_.reserve(std::min(payloadLength_, kEagerReserve));
        } else {
            const std::size_t n = std::min(payloadLength_ - payload_.size(), bytes.size());
            if (payload_.size() + n > payload_.capacity()) payload_.reserve(payloadLength_);
            payload_.append(bytes.data(), n);
            bytes.remove_prefix(n);
        }
        if (payload_.size() == payloadLength_) {
            readyBytes_ += payload_.size();
            ready_.push_back(std::move(payload_));
            payload_ = std::string();
            headerHave_ = 0;
            payloadLength_ = 0;
        }
    }
}

std::size_t FrameDecoder::wanted() const
{
    if (headerHave_ < kFrameHeaderSize) return kFrameHeaderSize - headerHave_;
    return payloadLength_ - payload_.size();
}

std::optional<std::string> FrameDecoder::next()
{
    if (ready_.empty()) {
        if (!error_.empty()) throw ProtocolError(error_);
        return std::nullopt;
    }
    std::string frame = std::move(ready_.front());
    ready_.pop_front();
    readyBytes_ -= frame.size();
    return frame;
}

} // namespace durnak::protocol
