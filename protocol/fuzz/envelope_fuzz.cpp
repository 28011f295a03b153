// Feeds arbitrary bytes through the frame splitter and the envelope decoder, the way a
// connection does with what a peer sends. Anything but a clean ProtocolError/ServerError is a bug.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "durnak/protocol/catalogue.hpp"
#include "durnak/protocol/envelope.hpp"
#include "durnak/protocol/error.hpp"

using namespace durnak::protocol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Small limit so the fuzzer explores the limit checks too.
    MessageReader reader(4096);
    try {
        // Split the input in two feeds to exercise partial frames.
        const std::string_view bytes(reinterpret_cast<const char*>(data), size);
        reader.feed(bytes.substr(0, size / 2));
        while (auto e = reader.next()) (void)e;
        reader.feed(bytes.substr(size / 2));
        while (auto envelope = reader.next()) {
            Envelope copy = *envelope;
            try {
                const CallRequest call = decodeCall(std::move(*envelope));
                if (const auto* method = findCommand(call.command)) checkCallParams(*method, call.params);
                (void)encodeResult(call.params);
            } catch (const ProtocolError&) {
            }
            try {
                (void)decodeResult(std::move(copy));
            } catch (const ProtocolError&) {
            } catch (const ServerError&) {
            }
        }
    } catch (const ProtocolError&) {
    }
    return 0;
}
