#pragma once

// The program's own artwork, drawn at run time: the dealer's logo, the tab and button icons
// and the stock-state icons of the legend (shared with the grids that show DURUM).

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace durnak::client {

QPixmap LogoResmi(int yukseklik);
QPixmap BuyutecResmi(int boy);

enum class Simge { Ara, Temizle, Menu, StokListesi, Sepet, Onceki, Ekstre, Yeniler, Kampanya, Duyuru, Bakiye, Cari };
QIcon SimgeAl(Simge simge, int boy = 32);

// DURUM: 0 Yok, 1 Stok mevcut, 2 Telefon Açınız, 3 Yolda, 4 Özel Sipariş, 5 Tedarik Sürecinde.
QPixmap DurumSimgesi(int durum, int boy = 24);
QString DurumAciklamasi(int durum);

} // namespace durnak::client
