#include "store/migrations.hpp"

namespace durnak::server {

// The server's outer edge: requests from the web form, files published for download, mail
// delivery state and the change log that drives push notifications.
Migration migration0010Web()
{
    return {10,
            "web",
            {
                // New-user requests from the web form. The password is stored as a hash only;
                // approving creates the user with it and binds the workstation.
                "CREATE TABLE user_requests ("
                " id INTEGER PRIMARY KEY,"
                " computer_id TEXT NOT NULL,"
                " company TEXT NOT NULL,"
                " contact TEXT NOT NULL,"
                " username TEXT NOT NULL,"
                " password_hash TEXT NOT NULL,"
                " email TEXT NOT NULL,"
                " phone TEXT NOT NULL,"
                " city TEXT NOT NULL DEFAULT '',"
                " note TEXT NOT NULL DEFAULT '',"
                " peer TEXT NOT NULL DEFAULT '',"
                " status TEXT NOT NULL DEFAULT 'bekliyor' CHECK (status IN ('bekliyor', 'onaylandi', 'reddedildi')),"
                " user_id INTEGER REFERENCES users(id),"
                " created_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP,"
                " decided_at TEXT)",
                // One open request per workstation: sending the form again replaces it.
                "CREATE UNIQUE INDEX user_requests_open ON user_requests(computer_id) WHERE status = 'bekliyor'",

                // Files the admin publishes under the web root (the setup program).
                "CREATE TABLE published_files ("
                " name TEXT PRIMARY KEY,"
                " content BLOB NOT NULL,"
                " size INTEGER NOT NULL,"
                " published_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP)",

                // Delivery state of the outbox: next_attempt_at in Unix seconds (0: due now).
                "ALTER TABLE mail_outbox ADD COLUMN attempts INTEGER NOT NULL DEFAULT 0",
                "ALTER TABLE mail_outbox ADD COLUMN next_attempt_at INTEGER NOT NULL DEFAULT 0",
                "ALTER TABLE mail_outbox ADD COLUMN last_error TEXT NOT NULL DEFAULT ''",
                "CREATE INDEX mail_outbox_due ON mail_outbox(next_attempt_at) WHERE sent_at IS NULL",

                // Every change to what the clients show on refresh is logged here, whoever makes
                // it (admin tool, another server on the same database); the servers poll the log
                // and notify their push channels.
                "CREATE TABLE push_events ("
                " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                " reason TEXT NOT NULL,"
                " created_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP)",
                "CREATE TRIGGER push_settings_insert AFTER INSERT ON settings"
                " BEGIN INSERT INTO push_events (reason) VALUES ('ayar:' || NEW.name); END",
                "CREATE TRIGGER push_settings_update AFTER UPDATE ON settings"
                " BEGIN INSERT INTO push_events (reason) VALUES ('ayar:' || NEW.name); END",
                "CREATE TRIGGER push_settings_delete AFTER DELETE ON settings"
                " BEGIN INSERT INTO push_events (reason) VALUES ('ayar:' || OLD.name); END",
                "CREATE TRIGGER push_banners_insert AFTER INSERT ON banners"
                " BEGIN INSERT INTO push_events (reason) VALUES ('banner'); END",
                "CREATE TRIGGER push_banners_update AFTER UPDATE ON banners"
                " BEGIN INSERT INTO push_events (reason) VALUES ('banner'); END",
                "CREATE TRIGGER push_banners_delete AFTER DELETE ON banners"
                " BEGIN INSERT INTO push_events (reason) VALUES ('banner'); END",
                "CREATE TRIGGER push_screens_insert AFTER INSERT ON screens"
                " BEGIN INSERT INTO push_events (reason) VALUES ('ekran'); END",
                "CREATE TRIGGER push_screens_update AFTER UPDATE ON screens"
                " BEGIN INSERT INTO push_events (reason) VALUES ('ekran'); END",
                "CREATE TRIGGER push_screens_delete AFTER DELETE ON screens"
                " BEGIN INSERT INTO push_events (reason) VALUES ('ekran'); END",
            }};
}

} // namespace durnak::server
