#include "dispatch/dispatcher.hpp"

#include "auth/authenticator.hpp"
#include "durnak/protocol/catalogue.hpp"
#include "durnak/protocol/error.hpp"
#include "log.hpp"

namespace durnak::server {
std::vector<protocol::Value> Dispatcher::call(protocol::CallRequest& request, const ConnectionInfo& connection) const
{
    const std::string_view name = protocol::methodOfCommand(request.command);
    const MethodRegistry::Method* method = name.empty() ? nullptr : registry_.find(name);
    if (!method) {
        if (!name.empty() && protocol::findMethod(name))
            throw CallFailed("Bu işlem sunucuda tanımlı değil: " + std::string(name));
        throw CallFailed("Sunucuda böyle bir işlem yok: " + request.command);
    }

    if (method->spec) {
        try {
            protocol::checkCallParams(*method->spec, request.params);
        } catch (const protocol::ProtocolError& e) {
            throw CallFailed(e.what());  // names the method and the parameter already
        }
    }

    CallContext context(connection, method->name, request.params.size(), store_, push_, auth_);
    if (auth_) {
        try {
            auth_->authorize(context, *method, request.params);
        } catch (const auth::AccessDenied& e) {
            throw CallFailed(e.what());
        } catch (const std::exception& e) {
            logWarning(method->name + " could not be authorised for " + connection.peer + ": " + e.what());
            throw CallFailed(e.what());
        }
    }
    std::vector<protocol::Value> values;
    try {
        values = method->handler(context, request.params);
    } catch (const std::exception& e) {
        logWarning(method->name + " failed for " + connection.peer + ": " + e.what());
        throw CallFailed(e.what());
    } catch (...) {
        logError(method->name + " threw a non-standard exception for " + connection.peer);
        throw CallFailed("Sunucuda beklenmeyen bir hata oluştu: " + method->name);
    }

    if (method->spec) {
        try {
            protocol::checkResultValues(*method->spec, values);
        } catch (const protocol::ProtocolError& e) {
            // A bug on our side; the details stay in the log.
            logError(method->name + " answered values that do not fit its declaration: " + e.what());
            throw CallFailed("Sunucu " + method->name + " için geçersiz bir cevap üretti.");
        }
    }
    return values;
}

std::string Dispatcher::execute(protocol::Envelope envelope, const ConnectionInfo& connection) const
{
    try {
        protocol::CallRequest request;
        try {
            request = protocol::decodeCall(std::move(envelope));
        } catch (const protocol::ProtocolError& e) {
            return protocol::encodeError(std::string("Geçersiz çağrı: ") + e.what());
        }
        auto values = call(request, connection);
        return protocol::encodeResult(values);
    } catch (const CallFailed& e) {
        return protocol::encodeError(e.what());
    } catch (const std::exception& e) {
        // Encoding the answer failed (too many streams, say).
        logError(std::string("call answer could not be sent: ") + e.what());
        return protocol::encodeError(std::string("Sunucu cevabı gönderilemedi: ") + e.what());
    }
}

} // namespace durnak::server
