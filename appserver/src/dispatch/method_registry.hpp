#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "durnak/protocol/catalogue.hpp"
#include "durnak/protocol/value.hpp"
#include "dispatch/call_context.hpp"

namespace durnak::server {

// A method's implementation: the parameters in wire order in, the answer out (build it
// with CallContext::reply). Parameters may be moved from. Throw std::exception with a
// Turkish text to answer an error: the text is what the user sees.
using MethodHandler = std::function<std::vector<protocol::Value>(CallContext&, std::vector<protocol::Value>&)>;

class MethodRegistry {
public:
    struct Method {
        std::string name;
        const protocol::MethodSpec* spec = nullptr;  // null for diagnostics
        MethodHandler handler;
    };

    // A method of the catalogue (name without "TServerMethods1."). Calls are checked against
    // its declared parameters before and its answer after the handler runs. Throws
    // std::logic_error for names outside the catalogue and for a second registration.
    void add(std::string_view name, MethodHandler handler);

    // A test-only diagnostic outside the catalogue, taking and answering anything.
    void addDiagnostic(std::string_view name, MethodHandler handler);

    const Method* find(std::string_view name) const;
    std::size_t size() const { return methods_.size(); }

private:
    void insert(Method method);

    std::map<std::string, Method, std::less<>> methods_;
};

} // namespace durnak::server
