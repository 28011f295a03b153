#include "mail/smtp.hpp"

#include <cstring>
#include <memory>
#include <mutex>

#include <curl/curl.h>

namespace durnak::server::mail {

namespace {

struct Upload {
    const std::string* data;
    std::size_t offset = 0;
};

std::size_t readChunk(char* buffer, std::size_t size, std::size_t count, void* user)
{
    auto* upload = static_cast<Upload*>(user);
    const std::size_t room = size * count;
    const std::size_t left = upload->data->size() - upload->offset;
    const std::size_t n = left < room ? left : room;
    std::memcpy(buffer, upload->data->data() + upload->offset, n);
    upload->offset += n;
    return n;
}

int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0;
}

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

std::string sendMail(const SmtpSettings& settings, const Message& message, const std::atomic<bool>& cancel)
{
    initialiseOnce();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return "curl_easy_init failed";
    const std::string text = render(message);
    Upload upload{&text};
    const std::string from = "<" + message.from + ">";
    const std::string to = "<" + message.to + ">";
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> recipients(curl_slist_append(nullptr, to.c_str()),
                                                                          curl_slist_free_all);
    char error[CURL_ERROR_SIZE] = {};

    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, settings.url.c_str());
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, readChunk);
    curl_easy_setopt(h, CURLOPT_READDATA, &upload);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(text.size()));
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, 120L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &cancel);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, error);
    if (settings.startTls) curl_easy_setopt(h, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!settings.user.empty()) {
        curl_easy_setopt(h, CURLOPT_USERNAME, settings.user.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, settings.password.c_str());
    }
    const CURLcode rc = curl_easy_perform(h);
    if (rc == CURLE_OK) return {};
    std::string reason = curl_easy_strerror(rc);
    if (error[0]) reason += std::string(": ") + error;
    return reason;
}

} // namespace durnak::server::mail
