#pragma once

// A titled group of radio buttons whose entries carry an integer id, with "no entry chosen"
// as a real state (a cleared group has none).

#include <QGroupBox>
#include <QString>
#include <vector>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

namespace durnak::client {

class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit TRadioGroup(const QString& baslik, QWidget* parent = nullptr);

    void Clear();
    void Add(const QString& metin, int id);
    int Count() const { return static_cast<int>(dugmeler_.size()); }
    // -1 when nothing is chosen.
    int ItemIndex() const;
    // Out of range (or -1) chooses nothing. Does not emit Click.
    void SetItemIndex(int sira);
    QString Text(int sira) const;
    int Id(int sira) const;
    QRadioButton* Button(int sira) const { return dugmeler_.at(static_cast<std::size_t>(sira)); }

signals:
    // The user chose an entry.
    void Click(int sira);

private:
    QButtonGroup* grup_;
    QVBoxLayout* duzen_;
    std::vector<QRadioButton*> dugmeler_;
    std::vector<int> idler_;
};

} // namespace durnak::client
