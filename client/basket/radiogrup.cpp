#include "basket/radiogrup.hpp"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace durnak::client {

TRadioGroup::TRadioGroup(const QString& baslik, QWidget* parent) : QGroupBox(baslik, parent)
{
    grup_ = new QButtonGroup(this);
    duzen_ = new QVBoxLayout(this);
    duzen_->setContentsMargins(6, 4, 6, 4);
    duzen_->setSpacing(2);
    duzen_->addStretch(1);
    connect(grup_, &QButtonGroup::idClicked, this, &TRadioGroup::Click);
}

void TRadioGroup::Clear()
{
    for (QRadioButton* d : dugmeler_) {
        grup_->removeButton(d);
        delete d;
    }
    dugmeler_.clear();
    idler_.clear();
}

void TRadioGroup::Add(const QString& metin, int id)
{
    auto* d = new QRadioButton(metin, this);
    d->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(dugmeler_.size()));
    grup_->addButton(d, Count());
    duzen_->insertWidget(Count(), d);
    dugmeler_.push_back(d);
    idler_.push_back(id);
}

int TRadioGroup::ItemIndex() const
{
    return grup_->checkedId();
}

void TRadioGroup::SetItemIndex(int sira)
{
    if (sira >= 0 && sira < Count()) {
        dugmeler_[static_cast<std::size_t>(sira)]->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button.
    grup_->setExclusive(false);
    for (QRadioButton* d : dugmeler_) d->setChecked(false);
    grup_->setExclusive(true);
}

QString TRadioGroup::Text(int sira) const
{
    return sira >= 0 && sira < Count() ? dugmeler_[static_cast<std::size_t>(sira)]->text() : QString();
}

int TRadioGroup::Id(int sira) const
{
    return sira >= 0 && sira < Count() ? idler_[static_cast<std::size_t>(sira)] : -1;
}

} // namespace durnak::client
