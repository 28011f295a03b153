#pragma once

#include <stdexcept>
#include <string>

namespace durnak::protocol {

// Any violation of the wire format: bad frame, malformed envelope, wrong value kind.
// The text is meant for the peer (and, on the client, for the user).
class ProtocolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An error the server reported for a call; its text is what the user sees.
class ServerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace durnak::protocol
