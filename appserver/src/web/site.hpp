#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace durnak::server {
class Store;
}

namespace durnak::server::web {

struct WebRequest {
    std::string method;  // upper case as sent
    std::string target;
    std::string contentType;
    std::string body;
    std::string peer;  // the caller's address, IPv4 in dotted form where it is one
};

struct WebResponse {
    unsigned status = 200;
    std::string contentType;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

// The dealer's web endpoints, one request in, one answer out; no sockets here.
//   /                       the site's root page
//   /ip                     the caller's address as plain text
//   /resimgoster.ashx?id=N  the JPEG of stock item N (404 with an empty body without one)
//   /exe/DurnakOtoSetup.exe the setup program the admin published
//   /formmailgonder.aspx    the new-user request form (GET shows it, POST stores it)
class Site {
public:
    explicit Site(Store& store) : store_(store) {}
    WebResponse handle(const WebRequest& request);

private:
    WebResponse picture(const std::string& query);
    WebResponse setupFile();
    WebResponse rootPage();
    WebResponse requestForm(const WebRequest& request, const std::string& query);
    WebResponse storeRequest(const WebRequest& request);

    // Pictures are asked for again and again while users page through lists; a few seconds
    // of memory spare the database most reads and still show a new picture soon.
    struct CachedPicture {
        std::shared_ptr<const std::string> jpeg;  // empty: the item has no picture
        std::chrono::steady_clock::time_point fetched;
    };
    std::shared_ptr<const std::string> cachedPicture(std::int32_t stokno);

    Store& store_;
    std::mutex cacheMutex_;
    std::unordered_map<std::int32_t, CachedPicture> pictureCache_;
    std::size_t cacheBytes_ = 0;
};

// Name under which the setup program is published and downloaded.
inline constexpr const char* kSetupFileName = "DurnakOtoSetup.exe";

} // namespace durnak::server::web
