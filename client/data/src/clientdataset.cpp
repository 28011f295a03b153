#include "durnak/data/clientdataset.hpp"

#include <algorithm>

#include "fieldvalue.hpp"

namespace durnak::data {

namespace {

const char* const kClosedText = "Cannot perform this operation on a closed dataset";
const char* const kOpenText = "Cannot perform this operation on an open dataset";
const char* const kNotEditingText = "Dataset not in edit or insert mode";

} // namespace

// ---------------------------------------------------------------------------------------------
// TField

TClientDataSet& TField::checked() const
{
    if (!IsValid())
        throw DataSetError("Field handle no longer belongs to the dataset's fields");
    return *dataSet_;
}

bool TField::IsValid() const { return dataSet_ && dataSet_->generation_ == generation_ && index_ < dataSet_->FieldCount(); }

QString TField::FieldName() const { return checked().fieldDef(index_).name; }
FieldType TField::DataType() const { return checked().fieldDef(index_).type; }
int TField::Size() const { return checked().fieldDef(index_).size; }
QString TField::DisplayFormat() const { return checked().DisplayFormat(index_); }
void TField::SetDisplayFormat(const QString& format) const { checked().SetDisplayFormat(index_, format); }

bool TField::IsNull() const { return std::holds_alternative<std::monostate>(checked().currentCell(index_)); }

QString TField::AsString() const
{
    auto& ds = checked();
    return detail::asString(DataType(), ds.currentCell(index_), DisplayLocale());
}

std::int64_t TField::AsInteger() const
{
    auto& ds = checked();
    return detail::asInteger(DataType(), ds.currentCell(index_), FieldName());
}

double TField::AsFloat() const
{
    auto& ds = checked();
    return detail::asFloat(DataType(), ds.currentCell(index_), FieldName());
}

bool TField::AsBoolean() const
{
    auto& ds = checked();
    return detail::asBoolean(DataType(), ds.currentCell(index_), FieldName());
}

QVariant TField::Value() const { return detail::toVariant(DataType(), checked().currentCell(index_)); }

QString TField::DisplayText() const { return DisplayText(DisplayLocale()); }

QString TField::DisplayText(const QLocale& locale) const
{
    auto& ds = checked();
    return detail::displayText(DataType(), ds.currentCell(index_), ds.DisplayFormat(index_), locale);
}

void TField::set(const QVariant& value) const
{
    auto& ds = checked();
    const FieldDef& def = ds.fieldDef(index_);
    ds.setPending(index_, detail::fromVariant(def.type, value, def.name));
}

void TField::SetAsString(const QString& value) const { set(value); }
void TField::SetAsInteger(std::int64_t value) const { set(static_cast<qlonglong>(value)); }
void TField::SetAsFloat(double value) const { set(value); }
void TField::SetAsBoolean(bool value) const { set(value); }
void TField::SetValue(const QVariant& value) const { set(value); }
void TField::Clear() const { set(QVariant()); }

// ---------------------------------------------------------------------------------------------
// TClientDataSet

TClientDataSet::TClientDataSet() = default;

TClientDataSet::~TClientDataSet()
{
    const auto observers = observers_;
    for (auto* observer : observers)
        observer->dataSetDestroyed();
}

template <typename F> void TClientDataSet::notify(F&& call)
{
    if (disableCount_ > 0)
        return;
    // An observer may detach itself from inside its callback.
    const auto observers = observers_;
    for (auto* observer : observers)
        call(*observer);
}

void TClientDataSet::checkActive() const
{
    if (!Active())
        throw DataSetError(kClosedText);
}

void TClientDataSet::checkInactive() const
{
    if (Active())
        throw DataSetError(kOpenText);
}

void TClientDataSet::checkField(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw DataSetError(QStringLiteral("Field index %1 out of range").arg(index));
}

void TClientDataSet::AddFieldDef(const QString& name, FieldType type, int size)
{
    checkInactive();
    if (FieldIndex(name) >= 0)
        throw DataSetError(QStringLiteral("Duplicate field name '%1'").arg(name));
    defs_.push_back({name, type, size});
    formats_.emplace_back();
    changed();
}

void TClientDataSet::ClearFieldDefs()
{
    checkInactive();
    defs_.clear();
    formats_.clear();
    ++generation_;
    changed();
}

void TClientDataSet::CreateDataSet()
{
    checkInactive();
    std::vector<protocol::Column> columns;
    columns.reserve(defs_.size());
    for (const auto& def : defs_)
        columns.push_back({def.name.toStdString(), def.type, def.size});
    table_ = protocol::Table(std::move(columns));
    state_ = DataSetState::Browse;
    resetCursor();
    changed();
    notify([](DataSetObserver& o) { o.dataSetChanged(); });
}

void TClientDataSet::Close()
{
    if (!Active())
        return;
    pending_.clear();
    table_ = protocol::Table();  // frees the rows
    state_ = DataSetState::Inactive;
    resetCursor();
    changed();
    notify([](DataSetObserver& o) { o.dataSetChanged(); });
}

void TClientDataSet::EmptyDataSet()
{
    checkActive();
    pending_.clear();
    state_ = DataSetState::Browse;
    table_.clearRows();
    resetCursor();
    changed();
    notify([](DataSetObserver& o) { o.dataSetChanged(); });
}

void TClientDataSet::SetData(protocol::Table packet)
{
    DisableControlsScope quiet(*this);
    Close();
    defs_.clear();
    for (const auto& column : packet.columns())
        defs_.push_back({QString::fromStdString(column.name), column.type, column.size});
    // New field objects: display formats of the old ones do not carry over.
    formats_.assign(defs_.size(), QString());
    ++generation_;
    table_ = std::move(packet);
    state_ = DataSetState::Browse;
    changed();
    First();
}

TField TClientDataSet::Fields(int index)
{
    checkField(index);
    return TField(this, index, generation_);
}

TField TClientDataSet::FieldByName(const QString& name)
{
    const int index = FieldIndex(name);
    if (index < 0)
        throw DataSetError(QStringLiteral("Field '%1' not found").arg(name));
    return TField(this, index, generation_);
}

TField TClientDataSet::FindField(const QString& name)
{
    const int index = FieldIndex(name);
    return index < 0 ? TField() : TField(this, index, generation_);
}

int TClientDataSet::FieldIndex(const QString& name) const
{
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        if (defs_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

void TClientDataSet::SetDisplayFormat(int index, const QString& format)
{
    checkField(index);
    auto& current = formats_[static_cast<std::size_t>(index)];
    if (current == format)
        return;
    current = format;
    changed();
    notify([index](DataSetObserver& o) { o.displayChanged(index); });
}

void TClientDataSet::setCurrent(int row, bool bof, bool eof)
{
    bof_ = bof;
    eof_ = eof;
    if (row == current_)
        return;
    current_ = row;
    notify([row](DataSetObserver& o) { o.cursorMoved(row); });
}

// No cursor report of its own: the dataSetChanged that follows covers the cursor too.
void TClientDataSet::resetCursor()
{
    current_ = -1;
    bof_ = true;
    eof_ = true;
}

void TClientDataSet::browseMode()
{
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        Post();
}

void TClientDataSet::First()
{
    browseMode();
    const bool empty = RecordCount() == 0;
    setCurrent(empty ? -1 : 0, true, empty);
}

void TClientDataSet::Last()
{
    browseMode();
    const bool empty = RecordCount() == 0;
    setCurrent(RecordCount() - 1, empty, true);
}

void TClientDataSet::Next()
{
    browseMode();
    if (eof_)
        return;
    if (current_ + 1 < RecordCount())
        setCurrent(current_ + 1, false, false);
    else
        eof_ = true;
}

void TClientDataSet::Prior()
{
    browseMode();
    if (bof_)
        return;
    if (current_ > 0)
        setCurrent(current_ - 1, false, false);
    else
        bof_ = true;
}

bool TClientDataSet::MoveTo(int row)
{
    browseMode();
    if (row < 0 || row >= RecordCount())
        return false;
    setCurrent(row, false, false);
    return true;
}

void TClientDataSet::Append()
{
    browseMode();
    pending_.assign(defs_.size(), std::nullopt);
    state_ = DataSetState::Insert;
}

void TClientDataSet::Edit()
{
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    if (current_ < 0) {
        Append();
        return;
    }
    pending_.assign(defs_.size(), std::nullopt);
    state_ = DataSetState::Edit;
}

void TClientDataSet::Post()
{
    checkActive();
    if (state_ == DataSetState::Insert) {
        const auto row = table_.appendRow();
        for (std::size_t col = 0; col < pending_.size(); ++col) {
            if (pending_[col])
                detail::store(table_, row, col, *pending_[col]);
        }
        pending_.clear();
        state_ = DataSetState::Browse;
        changed();
        const int appended = static_cast<int>(row);
        notify([appended](DataSetObserver& o) { o.rowAppended(appended); });
        setCurrent(appended, false, false);
    } else if (state_ == DataSetState::Edit) {
        std::vector<int> edited;
        for (std::size_t col = 0; col < pending_.size(); ++col) {
            if (!pending_[col])
                continue;
            const auto row = static_cast<std::size_t>(current_);
            if (table_.cell(row, col) == *pending_[col])
                continue;
            detail::store(table_, row, col, *pending_[col]);
            edited.push_back(static_cast<int>(col));
        }
        pending_.clear();
        state_ = DataSetState::Browse;
        for (const int col : edited) {
            changed();
            const int row = current_;
            notify([row, col](DataSetObserver& o) { o.cellChanged(row, col); });
        }
    }
}

void TClientDataSet::Cancel()
{
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    pending_.clear();
    state_ = DataSetState::Browse;
}

void TClientDataSet::setPending(int column, protocol::Cell value)
{
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        throw DataSetError(kNotEditingText);
    pending_.at(static_cast<std::size_t>(column)) = std::move(value);
}

protocol::Cell TClientDataSet::currentCell(int column) const
{
    const auto col = static_cast<std::size_t>(column);
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        if (col < pending_.size() && pending_[col])
            return *pending_[col];
        if (state_ == DataSetState::Insert)
            return {};
    }
    return cellAt(current_, column);
}

protocol::Cell TClientDataSet::cellAt(int row, int column) const
{
    if (!Active() || row < 0 || row >= RecordCount() || column < 0
        || static_cast<std::size_t>(column) >= table_.columnCount())
        return {};
    return table_.cell(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
}

void TClientDataSet::DisableControls() { ++disableCount_; }

void TClientDataSet::EnableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0)
        notify([](DataSetObserver& o) { o.dataSetChanged(); });
}

void TClientDataSet::addObserver(DataSetObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void TClientDataSet::removeObserver(DataSetObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

bool TClientDataSet::isNull(int row, int column) const
{
    return std::holds_alternative<std::monostate>(cellAt(row, column));
}

QVariant TClientDataSet::value(int row, int column) const
{
    if (column < 0 || column >= FieldCount())
        return {};
    return detail::toVariant(defs_[static_cast<std::size_t>(column)].type, cellAt(row, column));
}

QString TClientDataSet::displayText(int row, int column, const QLocale& locale) const
{
    if (column < 0 || column >= FieldCount())
        return {};
    const auto col = static_cast<std::size_t>(column);
    return detail::displayText(defs_[col].type, cellAt(row, column), formats_[col], locale);
}

std::size_t TClientDataSet::memoryBytes() const
{
    std::size_t bytes = sizeof(*this) + table_.memoryBytes();
    for (const auto& def : defs_)
        bytes += sizeof(FieldDef) + static_cast<std::size_t>(def.name.capacity()) * sizeof(QChar);
    for (const auto& format : formats_)
        bytes += sizeof(QString) + static_cast<std::size_t>(format.capacity()) * sizeof(QChar);
    bytes += pending_.capacity() * sizeof(std::optional<protocol::Cell>);
    return bytes;
}

} // namespace durnak::data
