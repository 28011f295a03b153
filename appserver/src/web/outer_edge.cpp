#include "web/outer_edge.hpp"

#include "mail/outbox_sender.hpp"
#include "store/store.hpp"
#include "web/push_relay.hpp"
#include "web/web_server.hpp"

namespace durnak::server::web {

OuterEdge::OuterEdge(const ServerConfig& config, PushHub& hub) : config_(config)
{
    // A connection per web thread, one for the mail sender and one for the relay.
    store_ = std::make_unique<Store>(StoreOptions{config.databasePath, config.webThreads + 2});
    web_ = std::make_unique<WebServer>(*store_, WebServerOptions{config.webThreads, 1024});
    mail::SenderOptions mailOptions;
    mailOptions.smtp = {config.smtpUrl, config.smtpUser, config.smtpPassword, config.smtpStartTls};
    mailOptions.from = config.mailFrom;
    mailOptions.to = config.mailTo;
    mailOptions.retryMin = config.mailRetryMin;
    mailOptions.retryMax = config.mailRetryMax;
    mail_ = std::make_unique<mail::OutboxSender>(*store_, mailOptions);
    relay_ = std::make_unique<PushRelay>(*store_, hub);
}

OuterEdge::~OuterEdge()
{
    stop();
}

std::uint16_t OuterEdge::open()
{
    return web_->open(config_.address, config_.webPort);
}

void OuterEdge::start()
{
    web_->start();
    mail_->start();
    relay_->start();
}

void OuterEdge::stop()
{
    relay_->stop();
    mail_->stop();
    web_->stop();
}

} // namespace durnak::server::web
