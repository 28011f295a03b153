#pragma once

// Byte streams returned by the server (pictures, PDF documents, reports) and the one
// way callers read them.

#include <cstdint>
#include <optional>
#include <string>

#include <QByteArray>

namespace durnak::client {

// A read-only stream over bytes held in memory, with a position like a file.
class TStream {
public:
    TStream() = default;
    explicit TStream(std::string baytlar) : baytlar_(std::move(baytlar)) {}

    std::int64_t Size() const { return static_cast<std::int64_t>(baytlar_.size()); }
    std::int64_t Position() const { return konum_; }
    void SetPosition(std::int64_t konum);
    // Copies up to `adet` bytes from the position on and advances; returns the count.
    std::int64_t Read(char* hedef, std::int64_t adet);

private:
    std::string baytlar_;
    std::int64_t konum_ = 0;
};

inline constexpr std::int64_t kAkisParcasi = 1024;

// Reads the stream from its start in 1024-byte pieces until a piece comes back shorter,
// and gives the content only when its length equals the length the server stated.
// A stated length of 0, or no stream at all, means there is no content.
std::optional<QByteArray> AkisOku(TStream* akis, std::int64_t beyanBoy);

} // namespace durnak::client
