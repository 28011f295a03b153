#pragma once

// Which columns of the main window's grids the user type shows and offers in the column
// chooser, kept apart from the grid widgets. (The width rule KolonGenislikleri lives in the
// grid kit, client/grid/widths.hpp.)

#include <optional>

#include <QHash>
#include <QObject>
#include <QString>

namespace durnak::client {

// Column decisions of one grid view, by field name. The grid applies them when it builds
// its columns and follows `degisti` afterwards; a field never set keeps the grid's design.
class KolonAyarlari : public QObject {
    Q_OBJECT

public:
    struct Ayar {
        bool gorunur = true;
        bool secicide = true;  // offered in the column chooser
        bool operator==(const Ayar&) const = default;
    };

    using QObject::QObject;

    void Ayarla(const QString& alan, bool gorunur, bool secicide);
    std::optional<Ayar> Ayari(const QString& alan) const;
    QHash<QString, Ayar> Hepsi() const { return ayarlar_; }

signals:
    void degisti(const QString& alan, bool gorunur, bool secicide);

private:
    QHash<QString, Ayar> ayarlar_;
};

} // namespace durnak::client
