#include "mail/outbox_sender.hpp"

#include <ctime>
#include <string>
#include <vector>

#include <soci/soci.h>

#include "log.hpp"
#include "methods/domain_support.hpp"
#include "store/store.hpp"

namespace durnak::server::mail {

namespace {

constexpr int kBatch = 20;
// A row being delivered is leased for this long, so a second server on the same database
// leaves it alone, and a delivery cut off by a crash is tried again after it.
constexpr long long kLeaseSeconds = 120;

struct Pending {
    long long id = 0;
    std::string kind;
    std::string subject;
    std::string body;
    int attempts = 0;
    long long dueAt = 0;
};

} // namespace

OutboxSender::OutboxSender(Store& store, SenderOptions options) : store_(store), options_(std::move(options)) {}

OutboxSender::~OutboxSender()
{
    stop();
}

std::chrono::seconds OutboxSender::backoff(int attempts, std::chrono::seconds min, std::chrono::seconds max)
{
    auto pause = min;
    for (int i = 1; i < attempts && pause < max; ++i) pause *= 2;
    return pause < max ? pause : max;
}

void OutboxSender::start()
{
    if (options_.smtp.url.empty() || options_.to.empty()) {
        logWarning("mail: smtp_url or mail_to not set; messages wait in the outbox");
        return;
    }
    if (!isPlainAddress(options_.to) || !isPlainAddress(options_.from)) {
        logError("mail: mail_from and mail_to must be plain addresses (name@host); messages wait in the outbox");
        return;
    }
    thread_ = std::thread([this] { run(); });
}

void OutboxSender::stop()
{
    stopping_ = true;
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void OutboxSender::run()
{
    logInfo("mail: delivering the outbox to " + options_.to + " through " + options_.smtp.url);
    while (!stopping_) {
        bool more = false;
        try {
            more = deliverDue();
        } catch (const std::exception& e) {
            logError(std::string("mail: outbox: ") + e.what());
        }
        if (more) continue;
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, options_.pollInterval, [this] { return stopping_.load(); });
    }
}

bool OutboxSender::deliverDue()
{
    const long long now = std::time(nullptr);
    std::vector<Pending> due;
    {
        soci::session sql(store_.pool());
        soci::rowset<soci::row> rows =
            (sql.prepare << "SELECT id, kind, subject, body, attempts, next_attempt_at FROM mail_outbox"
                            " WHERE sent_at IS NULL AND next_attempt_at <= :now ORDER BY id LIMIT :n",
             soci::use(now), soci::use(kBatch));
        for (const auto& r : rows) {
            Pending p;
            p.id = db::integer(r, 0);
            p.kind = db::text(r, 1);
            p.subject = db::text(r, 2);
            p.body = db::text(r, 3);
            p.attempts = static_cast<int>(db::integer(r, 4));
            p.dueAt = db::integer(r, 5);
            due.push_back(std::move(p));
        }
    }

    for (auto& p : due) {
        if (stopping_) return false;
        {
            soci::session sql(store_.pool());
            const long long lease = now + kLeaseSeconds;
            soci::statement claim = (sql.prepare << "UPDATE mail_outbox SET next_attempt_at = :lease"
                                                    " WHERE id = :id AND sent_at IS NULL AND next_attempt_at = :old",
                                     soci::use(lease), soci::use(p.id), soci::use(p.dueAt));
            claim.execute(true);
            if (claim.get_affected_rows() != 1) continue;  // taken by someone else
        }

        Message message;
        message.from = options_.from;
        message.to = options_.to;
        message.subject = p.subject;
        message.body = p.body;
        message.messageId = "outbox-" + std::to_string(p.id) + "." + std::to_string(now) + "@durnak-b2b";
        const std::string failure = sendMail(options_.smtp, message, stopping_);

        soci::session sql(store_.pool());
        const int attempts = p.attempts + 1;
        if (failure.empty()) {
            sql << "UPDATE mail_outbox SET sent_at = CURRENT_TIMESTAMP, attempts = :a, last_error = '' WHERE id = :id",
                soci::use(attempts), soci::use(p.id);
            logInfo("mail: message " + std::to_string(p.id) + " (" + p.kind + ") delivered");
        } else {
            const long long next =
                std::time(nullptr) + backoff(attempts, options_.retryMin, options_.retryMax).count();
            sql << "UPDATE mail_outbox SET attempts = :a, next_attempt_at = :next, last_error = :e WHERE id = :id",
                soci::use(attempts), soci::use(next), soci::use(failure), soci::use(p.id);
            logWarning("mail: message " + std::to_string(p.id) + " not delivered (attempt " +
                       std::to_string(attempts) + "), will retry: " + failure);
            // The server is likely down for the others too; wait for the next round.
            return false;
        }
    }
    return static_cast<int>(due.size()) == kBatch;
}

} // namespace durnak::server::mail
