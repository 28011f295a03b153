#include "store/migrations.hpp"

namespace durnak::server {

// The dealer's business data. Money columns hold amounts already rounded to kuruş; the
// rounding rules live in domain/pricing.cpp so every method computes them the same way.
Migration migration0002Domain()
{
    return {2,
            "domain",
            {
                "CREATE TABLE sales_reps ("
                " id INTEGER PRIMARY KEY,"
                " name TEXT NOT NULL,"
                " email TEXT NOT NULL DEFAULT '',"
                " phone TEXT NOT NULL DEFAULT '')",

                // Customer accounts (cari). Discount rates apply in cascade to list prices.
                "CREATE TABLE customers ("
                " carino INTEGER PRIMARY KEY,"
                " code TEXT NOT NULL UNIQUE,"
                " name TEXT NOT NULL,"
                " address1 TEXT NOT NULL DEFAULT '',"
                " address2 TEXT NOT NULL DEFAULT '',"
                " district TEXT NOT NULL DEFAULT '',"
                " city TEXT NOT NULL DEFAULT '',"
                " country TEXT NOT NULL DEFAULT 'TÜRKİYE',"
                " phone1 TEXT NOT NULL DEFAULT '',"
                " phone2 TEXT NOT NULL DEFAULT '',"
                " gsm TEXT NOT NULL DEFAULT '',"
                " fax1 TEXT NOT NULL DEFAULT '',"
                " fax2 TEXT NOT NULL DEFAULT '',"
                " email TEXT NOT NULL DEFAULT '',"
                " tax_office TEXT NOT NULL DEFAULT '',"
                " tax_no TEXT NOT NULL DEFAULT '',"
                " contact TEXT NOT NULL DEFAULT '',"
                " main_group TEXT NOT NULL DEFAULT '',"
                " sub_group TEXT NOT NULL DEFAULT '',"
                " special_code TEXT NOT NULL DEFAULT '',"
                " rep_id INTEGER REFERENCES sales_reps(id),"
                " disc1 REAL NOT NULL DEFAULT 0 CHECK (disc1 >= 0 AND disc1 <= 100),"
                " disc2 REAL NOT NULL DEFAULT 0 CHECK (disc2 >= 0 AND disc2 <= 100),"
                " disc3 REAL NOT NULL DEFAULT 0 CHECK (disc3 >= 0 AND disc3 <= 100),"
                " disc4 REAL NOT NULL DEFAULT 0 CHECK (disc4 >= 0 AND disc4 <= 100),"
                " payment_days INTEGER NOT NULL DEFAULT 30,"
                " active INTEGER NOT NULL DEFAULT 1)",
                "CREATE INDEX customers_rep ON customers(rep_id)",

                // Sign-in accounts. user_type: 1, 2 sales representatives; 3, 4 customer staff.
                // password_hash is written only through domain/passwords.cpp.
                "CREATE TABLE users ("
                " id INTEGER PRIMARY KEY,"
                " username TEXT NOT NULL UNIQUE,"
                " password_hash TEXT NOT NULL,"
                " user_type INTEGER NOT NULL CHECK (user_type BETWEEN 1 AND 4),"
                " carino INTEGER REFERENCES customers(carino),"
                " rep_id INTEGER REFERENCES sales_reps(id),"
                " email TEXT NOT NULL DEFAULT '',"
                " active INTEGER NOT NULL DEFAULT 1,"
                " expected_version INTEGER NOT NULL DEFAULT 2)",

                "CREATE TABLE workstations ("
                " computer_id TEXT PRIMARY KEY,"
                " user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,"
                " bound_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP)",
                "CREATE INDEX workstations_user ON workstations(user_id)",

                // Catalogue. durum is the availability code 0..5 shown by the client.
                "CREATE TABLE stock ("
                " stokno INTEGER PRIMARY KEY,"
                " code TEXT NOT NULL,"
                " name TEXT NOT NULL,"
                " other_name TEXT NOT NULL DEFAULT '',"
                " oem1 TEXT NOT NULL DEFAULT '',"
                " oem2 TEXT NOT NULL DEFAULT '',"
                " oem3 TEXT NOT NULL DEFAULT '',"
                " oem4 TEXT NOT NULL DEFAULT '',"
                " pkod TEXT NOT NULL DEFAULT '',"
                " dpkod TEXT NOT NULL DEFAULT '',"
                " maker_code TEXT NOT NULL DEFAULT '',"
                " special_code TEXT NOT NULL DEFAULT '',"
                " special_code1 TEXT NOT NULL DEFAULT '',"
                " barcode TEXT NOT NULL DEFAULT '',"
                " make TEXT NOT NULL DEFAULT '',"
                " model TEXT NOT NULL DEFAULT '',"
                " main_group TEXT NOT NULL DEFAULT '',"
                " sub_group TEXT NOT NULL DEFAULT '',"
                " unit TEXT NOT NULL DEFAULT 'ADET',"
                " vat REAL NOT NULL DEFAULT 20 CHECK (vat >= 0 AND vat <= 100),"
                " list_price REAL NOT NULL DEFAULT 0 CHECK (list_price >= 0),"
                " campaign_price REAL NOT NULL DEFAULT 0 CHECK (campaign_price >= 0),"
                " is_new INTEGER NOT NULL DEFAULT 0,"
                " is_campaign INTEGER NOT NULL DEFAULT 0,"
                " durum INTEGER NOT NULL DEFAULT 1 CHECK (durum BETWEEN 0 AND 5),"
                " remaining REAL NOT NULL DEFAULT 0,"
                " customer_ordered REAL NOT NULL DEFAULT 0,"
                " supplier_ordered REAL NOT NULL DEFAULT 0,"
                " active INTEGER NOT NULL DEFAULT 1,"
                " created_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP)",
                "CREATE INDEX stock_code ON stock(code)",
                "CREATE INDEX stock_barcode ON stock(barcode)",
                "CREATE INDEX stock_new ON stock(is_new) WHERE is_new <> 0",
                "CREATE INDEX stock_campaign ON stock(is_campaign) WHERE is_campaign <> 0",

                // Search text per item, folded to plain upper-case Latin (domain/search_text.cpp):
                // codes without separators in one column, names in the other. rowid = stokno.
                // Every code of an item (code, OEM 1-4, maker code, barcode) as a code key, for
                // exact and prefix look-ups.
                "CREATE TABLE stock_codes ("
                " key TEXT NOT NULL,"
                " stokno INTEGER NOT NULL REFERENCES stock(stokno) ON DELETE CASCADE,"
                " PRIMARY KEY (key, stokno)) WITHOUT ROWID",
                "CREATE INDEX stock_codes_stock ON stock_codes(stokno)",
                "CREATE VIRTUAL TABLE stock_search USING fts5(codes, words, tokenize = 'trigram')",

                "CREATE TABLE stock_pictures ("
                " stokno INTEGER PRIMARY KEY REFERENCES stock(stokno) ON DELETE CASCADE,"
                " jpeg BLOB NOT NULL)",

                // The basket held on the server; sec = ticked for the next order.
                "CREATE TABLE basket ("
                " sirano INTEGER PRIMARY KEY AUTOINCREMENT,"
                " carino INTEGER NOT NULL REFERENCES customers(carino),"
                " stokno INTEGER NOT NULL REFERENCES stock(stokno),"
                " qty REAL NOT NULL CHECK (qty > 0),"
                " unit_price REAL NOT NULL,"
                " disc1 REAL NOT NULL DEFAULT 0,"
                " disc2 REAL NOT NULL DEFAULT 0,"
                " disc3 REAL NOT NULL DEFAULT 0,"
                " disc4 REAL NOT NULL DEFAULT 0,"
                " vat REAL NOT NULL,"
                " campaign INTEGER NOT NULL DEFAULT 0,"
                " sec INTEGER NOT NULL DEFAULT 1 CHECK (sec IN (0, 1)),"
                " entered_by INTEGER REFERENCES users(id),"
                " entered_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP)",
                "CREATE INDEX basket_customer ON basket(carino)",

                "CREATE TABLE delivery_modes ("
                " id INTEGER PRIMARY KEY,"
                " name TEXT NOT NULL,"
                " sort INTEGER NOT NULL DEFAULT 0)",
                "CREATE TABLE cargo_kinds ("
                " id INTEGER PRIMARY KEY,"
                " name TEXT NOT NULL,"
                " sort INTEGER NOT NULL DEFAULT 0)",
                "CREATE TABLE cargo_firms ("
                " id INTEGER PRIMARY KEY,"
                " kind_id INTEGER NOT NULL REFERENCES cargo_kinds(id),"
                " name TEXT NOT NULL,"
                " warning TEXT NOT NULL DEFAULT '',"
                " sort INTEGER NOT NULL DEFAULT 0)",

                // Orders. status: 0 Alındı, 1 Onaylandı, 2 Parçalı Hazırlandı, 3 Sevk Edildi,
                // 4 Hazırlandı, 5 Görüldü (domain/order_status.hpp).
                "CREATE TABLE orders ("
                " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                " carino INTEGER NOT NULL REFERENCES customers(carino),"
                " created_at TEXT NOT NULL,"
                " status INTEGER NOT NULL DEFAULT 0 CHECK (status BETWEEN 0 AND 5),"
                " delivery_id INTEGER REFERENCES delivery_modes(id),"
                " cargo_kind_id INTEGER REFERENCES cargo_kinds(id),"
                " cargo_firm_id INTEGER REFERENCES cargo_firms(id),"
                " customer_note TEXT NOT NULL DEFAULT '',"
                " dealer_note TEXT NOT NULL DEFAULT '',"
                " rep_note TEXT NOT NULL DEFAULT '',"
                " entered_by INTEGER REFERENCES users(id),"
                " gross REAL NOT NULL DEFAULT 0,"
                " discount REAL NOT NULL DEFAULT 0,"
                " net REAL NOT NULL DEFAULT 0,"
                " vat_amount REAL NOT NULL DEFAULT 0,"
                " total REAL NOT NULL DEFAULT 0)",
                "CREATE INDEX orders_customer ON orders(carino, created_at)",
                "CREATE INDEX orders_status ON orders(status)",

                // balance_qty is what is still to be delivered (outstanding order balance).
                "CREATE TABLE order_lines ("
                " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                " order_id INTEGER NOT NULL REFERENCES orders(id) ON DELETE CASCADE,"
                " basket_sirano INTEGER,"
                " stokno INTEGER NOT NULL REFERENCES stock(stokno),"
                " qty REAL NOT NULL CHECK (qty > 0),"
                " delivered_qty REAL NOT NULL DEFAULT 0,"
                " balance_qty REAL NOT NULL CHECK (balance_qty >= 0),"
                " unit_price REAL NOT NULL,"
                " disc1 REAL NOT NULL DEFAULT 0,"
                " disc2 REAL NOT NULL DEFAULT 0,"
                " disc3 REAL NOT NULL DEFAULT 0,"
                " disc4 REAL NOT NULL DEFAULT 0,"
                " vat REAL NOT NULL,"
                " campaign INTEGER NOT NULL DEFAULT 0,"
                " net_unit_price REAL NOT NULL,"
                " gross REAL NOT NULL,"
                " discount REAL NOT NULL,"
                " net REAL NOT NULL,"
                " vat_amount REAL NOT NULL)",
                "CREATE INDEX order_lines_order ON order_lines(order_id)",
                "CREATE INDEX order_lines_stock ON order_lines(stokno)",

                // Account statement: invoices, collections, payments and virtual-POS receipts
                // as movements with debit (borç) or credit (alacak).
                "CREATE TABLE invoices ("
                " id INTEGER PRIMARY KEY,"
                " carino INTEGER NOT NULL REFERENCES customers(carino),"
                " number TEXT NOT NULL,"
                " issued_on TEXT NOT NULL,"
                " due_on TEXT NOT NULL,"
                " gross REAL NOT NULL DEFAULT 0,"
                " discount REAL NOT NULL DEFAULT 0,"
                " net REAL NOT NULL DEFAULT 0,"
                " vat_amount REAL NOT NULL DEFAULT 0,"
                " total REAL NOT NULL DEFAULT 0)",
                "CREATE TABLE invoice_lines ("
                " id INTEGER PRIMARY KEY,"
                " invoice_id INTEGER NOT NULL REFERENCES invoices(id) ON DELETE CASCADE,"
                " stokno INTEGER REFERENCES stock(stokno),"
                " code TEXT NOT NULL DEFAULT '',"
                " name TEXT NOT NULL DEFAULT '',"
                " qty REAL NOT NULL,"
                " unit_price REAL NOT NULL,"
                " discount_rate REAL NOT NULL DEFAULT 0,"
                " vat REAL NOT NULL,"
                " net REAL NOT NULL,"
                " vat_amount REAL NOT NULL)",
                "CREATE INDEX invoice_lines_invoice ON invoice_lines(invoice_id)",
                // kind: 1 invoice, 2 collection (tahsilat), 3 payment (ödeme), 4 virtual POS.
                "CREATE TABLE account_movements ("
                " id INTEGER PRIMARY KEY,"
                " carino INTEGER NOT NULL REFERENCES customers(carino),"
                " happened_on TEXT NOT NULL,"
                " due_on TEXT NOT NULL,"
                " kind INTEGER NOT NULL CHECK (kind BETWEEN 1 AND 4),"
                " invoice_id INTEGER REFERENCES invoices(id),"
                " document_no TEXT NOT NULL DEFAULT '',"
                " description TEXT NOT NULL DEFAULT '',"
                " debit REAL NOT NULL DEFAULT 0,"
                " credit REAL NOT NULL DEFAULT 0)",
                "CREATE INDEX account_movements_customer ON account_movements(carino, happened_on)",
                "CREATE TABLE collections ("
                " id INTEGER PRIMARY KEY,"
                " movement_id INTEGER NOT NULL REFERENCES account_movements(id) ON DELETE CASCADE,"
                " method TEXT NOT NULL,"
                " amount REAL NOT NULL,"
                " card_mask TEXT NOT NULL DEFAULT '',"
                " bank TEXT NOT NULL DEFAULT '',"
                " due_on TEXT NOT NULL DEFAULT '')",
                "CREATE INDEX collections_movement ON collections(movement_id)",
                "CREATE TABLE pos_receipts ("
                " id INTEGER PRIMARY KEY,"
                " movement_id INTEGER NOT NULL UNIQUE REFERENCES account_movements(id) ON DELETE CASCADE,"
                " card_mask TEXT NOT NULL,"
                " auth_code TEXT NOT NULL,"
                " installments INTEGER NOT NULL DEFAULT 1,"
                " amount REAL NOT NULL)",

                // Announcements (kind 1) and opening advertisements (kind 2); picture as bytes,
                // sent as hexadecimal text. target: "#KAMPANYA#", "#YENİ#" or a search text.
                "CREATE TABLE screens ("
                " id INTEGER PRIMARY KEY,"
                " kind INTEGER NOT NULL CHECK (kind IN (1, 2)),"
                " title TEXT NOT NULL,"
                " picture BLOB NOT NULL,"
                " target TEXT NOT NULL DEFAULT '',"
                " sort INTEGER NOT NULL DEFAULT 0,"
                " active INTEGER NOT NULL DEFAULT 1,"
                " created_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP)",
                "CREATE TABLE banners ("
                " slot INTEGER PRIMARY KEY CHECK (slot BETWEEN 1 AND 3),"
                " picture BLOB NOT NULL)",

                // Messages to the dealer; another component sends them and stamps sent_at.
                "CREATE TABLE mail_outbox ("
                " id INTEGER PRIMARY KEY,"
                " created_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP,"
                " kind TEXT NOT NULL,"
                " computer_id TEXT NOT NULL,"
                " subject TEXT NOT NULL,"
                " body TEXT NOT NULL,"
                " sent_at TEXT)",
            }};
}

} // namespace durnak::server
