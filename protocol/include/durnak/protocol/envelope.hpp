#pragma once

// Messages: one JSON envelope frame, followed by one frame per stream it carries
// ("attachments"). See docs/protocol.md.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <boost/json/object.hpp>
#include <boost/json/value.hpp>

#include "durnak/protocol/frame.hpp"
#include "durnak/protocol/value.hpp"

namespace durnak::protocol {

constexpr int kProtocolVersion = 1;
constexpr std::size_t kMaxAttachments = 64;

namespace op {
constexpr std::string_view Hello = "hello";
constexpr std::string_view Welcome = "welcome";
constexpr std::string_view Call = "call";
constexpr std::string_view Result = "result";
constexpr std::string_view Error = "error";
constexpr std::string_view Register = "register";
constexpr std::string_view Notify = "notify";
constexpr std::string_view Ack = "ack";
constexpr std::string_view Ping = "ping";
constexpr std::string_view Pong = "pong";
} // namespace op

struct Envelope {
    boost::json::object json;
    std::vector<std::string> attachments;

    std::string_view op() const;
    // Field access with a ProtocolError naming the field when it is missing or of another kind.
    std::string_view stringField(std::string_view key) const;
    std::string_view optionalString(std::string_view key) const;  // "" when missing
    std::int64_t intField(std::string_view key) const;
};

// Value <-> JSON. Streams become {"stream":{"length":n,"frame":i}} and their bytes are
// appended to (or taken from) the attachment list.
boost::json::value valueToJson(const Value& value, std::vector<std::string>& attachments);
Value valueFromJson(const boost::json::value& json, std::vector<std::string>& attachments);

// Whole messages, already framed and ready to send.
std::string encodeEnvelope(const boost::json::object& envelope, const std::vector<std::string>& attachments = {});
std::string encodeCall(std::string_view command, const std::vector<Value>& params);
std::string encodeResult(const std::vector<Value>& values);
std::string encodeError(std::string_view message);

struct CallRequest {
    std::string command;  // "TServerMethods1.<Method>"
    std::vector<Value> params;
};
CallRequest decodeCall(Envelope envelope);
// The out parameters by position followed by the result; an error envelope raises ServerError.
std::vector<Value> decodeResult(Envelope envelope);

// Splits a byte stream into messages. Throws ProtocolError on an oversized frame,
// malformed JSON, an envelope that is not an object, or too many attachments.
class MessageReader {
public:
    explicit MessageReader(std::size_t frameLimit = kDefaultFrameLimit)
        : frames_(frameLimit), frameLimit_(frameLimit) {}

    void feed(std::string_view bytes) { frames_.feed(bytes); }
    std::optional<Envelope> next();
    // Bytes still needed before the next frame is complete (lets blocking readers read exactly).
    std::size_t wanted() const { return frames_.wanted(); }
    bool idle() const { return !pending_ && frames_.buffered() == 0; }

private:
    FrameDecoder frames_;
    std::size_t frameLimit_;
    std::optional<Envelope> pending_;
    std::size_t attachmentsWanted_ = 0;
    std::size_t attachmentBytes_ = 0;  // all attachments of one message stay within the frame limit
};

// Parses one envelope frame (JSON object); throws ProtocolError with a clear text.
boost::json::object parseEnvelopeJson(std::string_view payload);

} // namespace durnak::protocol
