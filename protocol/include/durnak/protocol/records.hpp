#pragma once

// The record classes that travel as marshalled objects. Field names, their order and
// their case are part of the protocol: the server reads and writes the same names.

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace durnak::protocol {

template <class Owner, class Member>
struct FieldDef {
    std::string_view name;
    Member Owner::*member;
};
template <class Owner, class Member>
FieldDef(std::string_view, Member Owner::*) -> FieldDef<Owner, Member>;

#define DURNAK_FIELD(Class, f) FieldDef<Class, decltype(Class::f)>{#f, &Class::f}

// The session record: who is signed in, for which customer, from which workstation.
struct TSonucBilgisi {
    static constexpr std::string_view kTypeName = "baglantiu.TSonucBilgisi";

    std::string FBILGISAYARID;
    std::string FSaticiMail;
    std::int32_t FSirano = 0;
    std::string FCariAdi;
    std::string FSIFRE;
    std::int32_t FSaticiNo = 0;
    std::int32_t FCARINO = 0;
    std::int32_t FAKTIF = 0;
    std::string FKullanicimail;
    std::string FADI;
    std::string FSaticiTelefon;
    std::string Fcarikod;
    bool FVarmi = false;
    std::string FSaticiAdi;
    std::string FBilgiSayarAdi;
    std::string FDisip;
    std::string FIcip;
    std::string FBilgisayarKullanici;
    std::int32_t FMusteriTipi = 1;
    std::int32_t FVersion = 1;

    void Kopyala(const TSonucBilgisi& source) { *this = source; }
    bool operator==(const TSonucBilgisi&) const = default;

    static constexpr auto fields()
    {
        using C = TSonucBilgisi;
        return std::make_tuple(
            DURNAK_FIELD(C, FBILGISAYARID), DURNAK_FIELD(C, FSaticiMail), DURNAK_FIELD(C, FSirano),
            DURNAK_FIELD(C, FCariAdi), DURNAK_FIELD(C, FSIFRE), DURNAK_FIELD(C, FSaticiNo),
            DURNAK_FIELD(C, FCARINO), DURNAK_FIELD(C, FAKTIF), DURNAK_FIELD(C, FKullanicimail),
            DURNAK_FIELD(C, FADI), DURNAK_FIELD(C, FSaticiTelefon), DURNAK_FIELD(C, Fcarikod),
            DURNAK_FIELD(C, FVarmi), DURNAK_FIELD(C, FSaticiAdi), DURNAK_FIELD(C, FBilgiSayarAdi),
            DURNAK_FIELD(C, FDisip), DURNAK_FIELD(C, FIcip), DURNAK_FIELD(C, FBilgisayarKullanici),
            DURNAK_FIELD(C, FMusteriTipi), DURNAK_FIELD(C, FVersion));
    }
};

// The footer of one order.
struct TSiparisDipAyrinti {
    static constexpr std::string_view kTypeName = "baglantiu.TSiparisDipAyrinti";

    std::string FSizinMesaj;
    std::string FDurumu;
    std::string FVeren;
    std::string FKargo;
    std::string FBizimMesaj;
    std::string FTeslimCinsi;
    std::string FKargoCinsi;
    std::string FSaticiNotu;

    void Kopyala(const TSiparisDipAyrinti& source) { *this = source; }
    bool operator==(const TSiparisDipAyrinti&) const = default;

    static constexpr auto fields()
    {
        using C = TSiparisDipAyrinti;
        return std::make_tuple(DURNAK_FIELD(C, FSizinMesaj), DURNAK_FIELD(C, FDurumu),
                               DURNAK_FIELD(C, FVeren), DURNAK_FIELD(C, FKargo),
                               DURNAK_FIELD(C, FBizimMesaj), DURNAK_FIELD(C, FTeslimCinsi),
                               DURNAK_FIELD(C, FKargoCinsi), DURNAK_FIELD(C, FSaticiNotu));
    }
};

// Order counts per status for the customer console's buttons.
struct TTusSonuclari {
    static constexpr std::string_view kTypeName = "baglantiu.TTusSonuclari";

    std::int32_t FAlindi = 0;
    std::int32_t FOnaylandi = 0;
    std::int32_t FParcaliHazirlandi = 0;
    std::int32_t FSevkEdildi = 0;
    std::int32_t FHazirlandi = 0;
    std::int32_t FGoruldu = 0;

    void Kopyala(const TTusSonuclari& source) { *this = source; }
    bool operator==(const TTusSonuclari&) const = default;

    static constexpr auto fields()
    {
        using C = TTusSonuclari;
        return std::make_tuple(DURNAK_FIELD(C, FAlindi), DURNAK_FIELD(C, FOnaylandi),
                               DURNAK_FIELD(C, FParcaliHazirlandi), DURNAK_FIELD(C, FSevkEdildi),
                               DURNAK_FIELD(C, FHazirlandi), DURNAK_FIELD(C, FGoruldu));
    }
};

// One opening screen or announcement. FResim is the picture as hexadecimal text.
struct TAcilisEkran {
    static constexpr std::string_view kTypeName = "mobilstokunit.TAcilisEkran";

    std::int32_t FSiraNo = 0;
    std::string FResim;
    std::string FBaslik;
    std::string FArama;

    void Kopyala(const TAcilisEkran& source) { *this = source; }
    bool operator==(const TAcilisEkran&) const = default;

    static constexpr auto fields()
    {
        using C = TAcilisEkran;
        return std::make_tuple(DURNAK_FIELD(C, FSiraNo), DURNAK_FIELD(C, FResim),
                               DURNAK_FIELD(C, FBaslik), DURNAK_FIELD(C, FArama));
    }
};

struct TAcilisEkranlariki {
    static constexpr std::string_view kTypeName = "mobilstokunit.TAcilisEkranlariki";

    std::vector<TAcilisEkran> FEkranlar;

    void Kopyala(const TAcilisEkranlariki& source) { *this = source; }
    bool operator==(const TAcilisEkranlariki&) const = default;

    static constexpr auto fields()
    {
        using C = TAcilisEkranlariki;
        return std::make_tuple(DURNAK_FIELD(C, FEkranlar));
    }
};

// Owning lists travel with their elements under "FItems".
struct TAcilisEkranlar {
    static constexpr std::string_view kTypeName = "mobilstokunit.TAcilisEkranlar";

    std::vector<TAcilisEkran> FItems;

    bool operator==(const TAcilisEkranlar&) const = default;

    static constexpr auto fields()
    {
        using C = TAcilisEkranlar;
        return std::make_tuple(DURNAK_FIELD(C, FItems));
    }
};

// A customer card.
struct TMobilCariBilgisi {
    static constexpr std::string_view kTypeName = "mobilstokunit.TMobilCariBilgisi";

    std::string FBILGISAYARID;
    std::string FSEHIR;
    std::string FFAX1;
    std::string FSATICIMAIL;
    std::string FSATICIADI;
    std::string FCARIADI;
    std::string FEMAIL;
    std::string FVERGIDAIRESI;
    std::string FYETKILI;
    std::string FAltGrup;
    std::string FTEL2;
    std::string FSIFRE;
    std::string FGSM;
    std::string FTEL1;
    std::string FADRES2;
    double FTLBORC = 0;
    double FTLALACAK = 0;
    std::string FADRES1;
    std::string FULKE;
    std::string FAnaGrup;
    std::int32_t FCARINO = 0;
    double FTLBAKIYE = 0;
    std::string FVERGINO;
    std::string FMAIL;
    std::string FOzelKod;
    std::string FKULLANICIADI;
    std::string FSATICITELEFON;
    std::string FCARIKOD;
    std::string FFAX2;
    std::string FILCE;

    void Kopyala(const TMobilCariBilgisi& source) { *this = source; }
    bool operator==(const TMobilCariBilgisi&) const = default;

    static constexpr auto fields()
    {
        using C = TMobilCariBilgisi;
        return std::make_tuple(
            DURNAK_FIELD(C, FBILGISAYARID), DURNAK_FIELD(C, FSEHIR), DURNAK_FIELD(C, FFAX1),
            DURNAK_FIELD(C, FSATICIMAIL), DURNAK_FIELD(C, FSATICIADI), DURNAK_FIELD(C, FCARIADI),
            DURNAK_FIELD(C, FEMAIL), DURNAK_FIELD(C, FVERGIDAIRESI), DURNAK_FIELD(C, FYETKILI),
            DURNAK_FIELD(C, FAltGrup), DURNAK_FIELD(C, FTEL2), DURNAK_FIELD(C, FSIFRE),
            DURNAK_FIELD(C, FGSM), DURNAK_FIELD(C, FTEL1), DURNAK_FIELD(C, FADRES2),
            DURNAK_FIELD(C, FTLBORC), DURNAK_FIELD(C, FTLALACAK), DURNAK_FIELD(C, FADRES1),
            DURNAK_FIELD(C, FULKE), DURNAK_FIELD(C, FAnaGrup), DURNAK_FIELD(C, FCARINO),
            DURNAK_FIELD(C, FTLBAKIYE), DURNAK_FIELD(C, FVERGINO), DURNAK_FIELD(C, FMAIL),
            DURNAK_FIELD(C, FOzelKod), DURNAK_FIELD(C, FKULLANICIADI),
            DURNAK_FIELD(C, FSATICITELEFON), DURNAK_FIELD(C, FCARIKOD), DURNAK_FIELD(C, FFAX2),
            DURNAK_FIELD(C, FILCE));
    }
};

// A stock item of the mobile API.
struct TMobilStok {
    static constexpr std::string_view kTypeName = "mobilstokunit.TMobilStok";

    std::int32_t FStokNo = 0;
    std::int32_t FResimVar = 0;
    std::string FResim;
    std::int32_t FYeni = 0;
    std::string FDepartman;
    double FVerilenSiparis = 0;
    std::string FAltGrup;
    std::int32_t FDurum = 0;
    std::string FRenk;
    std::string FBirim = "ADET";
    double FKDV = 20;
    double FAlinanSiparis = 0;
    double FIsk2 = 0;
    std::string FAnaGrup;
    std::string FKod;
    double FIsk3 = 0;
    double FListeFiyati = 0;
    std::string FBeden;
    double FNetFiyat = 0;
    double FIsk1 = 0;
    double FKDVliFiyat = 0;
    double FIsk4 = 0;
    std::string FOzelKod;
    std::int32_t FKampnayali = 0;
    std::string FBarkod;
    double FIndirimOran = 0;
    double FKalan = 0;
    std::string FUreticiKod;
    double FKampanyaliFiyat = 0;
    std::string FOemNo;
    std::int32_t FBarkodNo = 0;
    std::string FPKod;
    std::string FDpKod;
    std::string FAdi;
    double FFiyat = 0;

    void Kopyala(const TMobilStok& source) { *this = source; }
    bool operator==(const TMobilStok&) const = default;

    static constexpr auto fields()
    {
        using C = TMobilStok;
        return std::make_tuple(
            DURNAK_FIELD(C, FStokNo), DURNAK_FIELD(C, FResimVar), DURNAK_FIELD(C, FResim),
            DURNAK_FIELD(C, FYeni), DURNAK_FIELD(C, FDepartman), DURNAK_FIELD(C, FVerilenSiparis),
            DURNAK_FIELD(C, FAltGrup), DURNAK_FIELD(C, FDurum), DURNAK_FIELD(C, FRenk),
            DURNAK_FIELD(C, FBirim), DURNAK_FIELD(C, FKDV), DURNAK_FIELD(C, FAlinanSiparis),
            DURNAK_FIELD(C, FIsk2), DURNAK_FIELD(C, FAnaGrup), DURNAK_FIELD(C, FKod),
            DURNAK_FIELD(C, FIsk3), DURNAK_FIELD(C, FListeFiyati), DURNAK_FIELD(C, FBeden),
            DURNAK_FIELD(C, FNetFiyat), DURNAK_FIELD(C, FIsk1), DURNAK_FIELD(C, FKDVliFiyat),
            DURNAK_FIELD(C, FIsk4), DURNAK_FIELD(C, FOzelKod), DURNAK_FIELD(C, FKampnayali),
            DURNAK_FIELD(C, FBarkod), DURNAK_FIELD(C, FIndirimOran), DURNAK_FIELD(C, FKalan),
            DURNAK_FIELD(C, FUreticiKod), DURNAK_FIELD(C, FKampanyaliFiyat),
            DURNAK_FIELD(C, FOemNo), DURNAK_FIELD(C, FBarkodNo), DURNAK_FIELD(C, FPKod),
            DURNAK_FIELD(C, FDpKod), DURNAK_FIELD(C, FAdi), DURNAK_FIELD(C, FFiyat));
    }
};

struct TMobilStoklar {
    static constexpr std::string_view kTypeName = "mobilstokunit.TMobilStoklar";

    std::vector<TMobilStok> FItems;

    bool operator==(const TMobilStoklar&) const = default;

    static constexpr auto fields()
    {
        using C = TMobilStoklar;
        return std::make_tuple(DURNAK_FIELD(C, FItems));
    }
};

// A basket line of the mobile API; dates are OLE Automation day counts.
struct TMobilSepet {
    static constexpr std::string_view kTypeName = "mobilstokunit.TMobilSepet";

    std::int32_t FKARGOID = 0;
    std::int32_t FStokNo = 0;
    double FTARIH = 0;
    std::int32_t FSIRANO = 0;
    std::string FCARIADI;
    double FVERILISTARIHI = 0;
    std::int32_t FDurum = 0;
    double FMIKTAR = 0;
    std::int32_t FVERENIDNO = 0;
    double FNETTUTAR = 0;
    double FKDVLITUTAR = 0;
    double FKDV = 0;
    std::int32_t FAKTAR = 0;
    std::string FSAAT;
    double FVERGITUTARI = 0;
    std::string FPKod;
    std::string FMODEL;
    double FINDIRIMTUTAR = 0;
    std::int32_t FSTOK_STOKNO = 0;
    double FBIRIMFIYAT = 0;
    std::int32_t FSEC = 0;
    std::string FOEM2;
    std::string FOEM3;
    std::string FAnaGrup;
    std::string FMARKA;
    std::string FVEREN;
    std::string FSTOKADI;
    std::string FOEM1;
    std::int32_t FCARINO = 0;
    std::int32_t FVERENSIRANO = 0;
    std::int32_t FACIKLAMA = 0;
    double FINDIRIMORANI2 = 0;
    std::string FOEM4;
    std::string FKUR;
    double FINDIRIMORANI3 = 0;
    std::int32_t FSIPARISNO = 0;
    double FIDNO = 0;
    std::string FOzelKod;
    std::string FDpKod;
    double FKURTL = 0;
    double FINDIRIMORANI1 = 0;
    std::string FDIGERADI;
    std::string FBarkod;
    double FTUTAR = 0;
    std::string FURETICIKODU;
    double FKalan = 0;
    std::string FFINISHKOD;
    std::string FCARIKOD;
    double FNETBIRIMFIYAT = 0;
    std::string FOemNo;
    std::int32_t FTESLIMID = 0;
    std::int32_t FResimVar = 0;
    std::string FResim;

    void Kopyala(const TMobilSepet& source) { *this = source; }
    bool operator==(const TMobilSepet&) const = default;

    static constexpr auto fields()
    {
        using C = TMobilSepet;
        return std::make_tuple(
            DURNAK_FIELD(C, FKARGOID), DURNAK_FIELD(C, FStokNo), DURNAK_FIELD(C, FTARIH),
            DURNAK_FIELD(C, FSIRANO), DURNAK_FIELD(C, FCARIADI), DURNAK_FIELD(C, FVERILISTARIHI),
            DURNAK_FIELD(C, FDurum), DURNAK_FIELD(C, FMIKTAR), DURNAK_FIELD(C, FVERENIDNO),
            DURNAK_FIELD(C, FNETTUTAR), DURNAK_FIELD(C, FKDVLITUTAR), DURNAK_FIELD(C, FKDV),
            DURNAK_FIELD(C, FAKTAR), DURNAK_FIELD(C, FSAAT), DURNAK_FIELD(C, FVERGITUTARI),
            DURNAK_FIELD(C, FPKod), DURNAK_FIELD(C, FMODEL), DURNAK_FIELD(C, FINDIRIMTUTAR),
            DURNAK_FIELD(C, FSTOK_STOKNO), DURNAK_FIELD(C, FBIRIMFIYAT), DURNAK_FIELD(C, FSEC),
            DURNAK_FIELD(C, FOEM2), DURNAK_FIELD(C, FOEM3), DURNAK_FIELD(C, FAnaGrup),
            DURNAK_FIELD(C, FMARKA), DURNAK_FIELD(C, FVEREN), DURNAK_FIELD(C, FSTOKADI),
            DURNAK_FIELD(C, FOEM1), DURNAK_FIELD(C, FCARINO), DURNAK_FIELD(C, FVERENSIRANO),
            DURNAK_FIELD(C, FACIKLAMA), DURNAK_FIELD(C, FINDIRIMORANI2), DURNAK_FIELD(C, FOEM4),
            DURNAK_FIELD(C, FKUR), DURNAK_FIELD(C, FINDIRIMORANI3), DURNAK_FIELD(C, FSIPARISNO),
            DURNAK_FIELD(C, FIDNO), DURNAK_FIELD(C, FOzelKod), DURNAK_FIELD(C, FDpKod),
            DURNAK_FIELD(C, FKURTL), DURNAK_FIELD(C, FINDIRIMORANI1), DURNAK_FIELD(C, FDIGERADI),
            DURNAK_FIELD(C, FBarkod), DURNAK_FIELD(C, FTUTAR), DURNAK_FIELD(C, FURETICIKODU),
            DURNAK_FIELD(C, FKalan), DURNAK_FIELD(C, FFINISHKOD), DURNAK_FIELD(C, FCARIKOD),
            DURNAK_FIELD(C, FNETBIRIMFIYAT), DURNAK_FIELD(C, FOemNo), DURNAK_FIELD(C, FTESLIMID),
            DURNAK_FIELD(C, FResimVar), DURNAK_FIELD(C, FResim));
    }
};

struct TMobilSepetler {
    static constexpr std::string_view kTypeName = "mobilstokunit.TMobilSepetler";

    std::vector<TMobilSepet> FItems;

    bool operator==(const TMobilSepetler&) const = default;

    static constexpr auto fields()
    {
        using C = TMobilSepetler;
        return std::make_tuple(DURNAK_FIELD(C, FItems));
    }
};

#undef DURNAK_FIELD

} // namespace durnak::protocol
