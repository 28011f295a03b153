#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

#include <QLocale>
#include <QString>
#include <QVariant>

#include "durnak/data/numberformat.hpp"
#include "durnak/protocol/table.hpp"

namespace durnak::data {

using protocol::FieldType;

// Misuse of a dataset (closed, unknown field, value that does not fit the field) and
// conflicting column lists. The text reaches the user's error display unchanged.
class DataSetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit DataSetError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::WideString;
    int size = 0;  // declared size of strings, 0 otherwise
};

enum class DataSetState { Inactive, Browse, Edit, Insert };

// Receives a dataset's changes, synchronously, on the thread that makes them. A model on the
// main thread must be detached while a worker fills the dataset: disabled controls silence the
// notifications but do not stop a view from reading.
class DataSetObserver {
public:
    virtual ~DataSetObserver() = default;
    // Anything may have changed (columns, rows, values, open state, cursor): re-read it all.
    // Sent once when the outermost EnableControls re-enables notifications.
    virtual void dataSetChanged() = 0;
    // A posted Append added `row`, the last row.
    virtual void rowAppended(int row) = 0;
    // A posted Edit changed one cell.
    virtual void cellChanged(int row, int column) = 0;
    // The display format of a column changed.
    virtual void displayChanged(int column) = 0;
    virtual void cursorMoved(int /*row*/) {}
    virtual void dataSetDestroyed() {}
};

class TClientDataSet;

// A light handle on one field of a dataset: reads and writes the current row. Handles taken
// before a data-packet assignment (which makes new fields) refuse to work afterwards.
class TField {
public:
    TField() = default;

    bool IsValid() const;
    QString FieldName() const;
    FieldType DataType() const;
    int Size() const;
    int Index() const { return index_; }
    QString DisplayFormat() const;
    void SetDisplayFormat(const QString& format) const;

    bool IsNull() const;
    QString AsString() const;      // plain text, locale's decimal point, no display format
    std::int64_t AsInteger() const;  // numbers rounded, halves away from zero
    double AsFloat() const;        // dates as OLE Automation day counts
    bool AsBoolean() const;
    QVariant Value() const;        // null -> invalid QVariant
    QString DisplayText() const;   // display format applied, with DisplayLocale()
    QString DisplayText(const QLocale& locale) const;

    // Only in Edit or Insert state; the value lands in the table on Post.
    void SetAsString(const QString& value) const;
    void SetAsInteger(std::int64_t value) const;
    void SetAsFloat(double value) const;
    void SetAsBoolean(bool value) const;
    void SetValue(const QVariant& value) const;
    void Clear() const;

private:
    friend class TClientDataSet;
    TField(TClientDataSet* dataSet, int index, std::uint64_t generation)
        : dataSet_(dataSet), index_(index), generation_(generation)
    {
    }
    TClientDataSet& checked() const;
    void set(const QVariant& value) const;

    TClientDataSet* dataSet_ = nullptr;
    int index_ = -1;
    std::uint64_t generation_ = 0;
};

// In-memory table for the grids: field definitions, a row cursor, single-field edits and
// change notifications. The cells live in a protocol::Table (typed columns), so a row costs
// about its payload.
class TClientDataSet {
public:
    TClientDataSet();
    ~TClientDataSet();
    TClientDataSet(const TClientDataSet&) = delete;
    TClientDataSet& operator=(const TClientDataSet&) = delete;

    // Field definitions: changed while closed, turned into fields by CreateDataSet.
    const std::vector<FieldDef>& FieldDefs() const { return defs_; }
    void AddFieldDef(const QString& name, FieldType type, int size = 0);
    void ClearFieldDefs();

    void CreateDataSet();  // opens an empty table with the field definitions
    bool Active() const { return state_ != DataSetState::Inactive; }
    void Close();          // drops the rows; definitions and display formats stay
    void EmptyDataSet();
    // Data-packet assignment: columns and rows replaced whole, new fields without display
    // formats, dataset open on the first row.
    void SetData(protocol::Table packet);
    const protocol::Table& Data() const { return table_; }

    int FieldCount() const { return static_cast<int>(defs_.size()); }
    TField Fields(int index);
    TField FieldByName(const QString& name);  // throws when there is no such field
    TField FindField(const QString& name);    // invalid handle when there is none
    int FieldIndex(const QString& name) const;  // case-insensitive; -1 when none
    const FieldDef& fieldDef(int index) const { return defs_.at(static_cast<std::size_t>(index)); }
    QString DisplayFormat(int index) const { return formats_.at(static_cast<std::size_t>(index)); }
    void SetDisplayFormat(int index, const QString& format);

    // Cursor. Moving with an unposted edit posts it first.
    int RecordCount() const { return Active() ? static_cast<int>(table_.rowCount()) : 0; }
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    int RecNo() const { return current_ + 1; }  // 1-based; 0 without a current row
    int CurrentRow() const { return current_; }  // 0-based; -1 without a current row
    bool MoveTo(int row);                        // false (and no move) when out of range

    DataSetState State() const { return state_; }
    void Append();
    void Edit();  // on an empty dataset: Append
    void Post();
    void Cancel();

    // Nesting counter; while above zero no observer hears anything, and the outermost
    // EnableControls sends one dataSetChanged.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    void addObserver(DataSetObserver* observer);
    void removeObserver(DataSetObserver* observer);
    // Counts changes of columns, rows, cells and display formats, also those made while
    // controls are disabled, so an observer can tell whether a dataSetChanged moved anything.
    std::uint64_t changeCount() const { return changes_; }

    // Row-wise reads of posted values, for grids; out-of-range cells read as null.
    bool isNull(int row, int column) const;
    QVariant value(int row, int column) const;
    QString displayText(int row, int column, const QLocale& locale) const;

    // Bytes held by the rows and the field list.
    std::size_t memoryBytes() const;

private:
    friend class TField;
    friend void TabloyaKopyala(const protocol::Table& reader, TClientDataSet& dataSet);

    void checkActive() const;
    void checkInactive() const;
    void checkField(int index) const;
    void browseMode();  // posts a pending edit
    void setCurrent(int row, bool bof, bool eof);
    void resetCursor();
    protocol::Cell currentCell(int column) const;
    protocol::Cell cellAt(int row, int column) const;
    void setPending(int column, protocol::Cell value);

    void changed() { ++changes_; }
    template <typename F> void notify(F&& call);

    std::vector<FieldDef> defs_;
    std::vector<QString> formats_;
    std::uint64_t generation_ = 1;  // bumped whenever the field list is replaced
    protocol::Table table_;
    DataSetState state_ = DataSetState::Inactive;
    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    std::vector<std::optional<protocol::Cell>> pending_;  // edit buffer, one slot per field
    int disableCount_ = 0;
    std::uint64_t changes_ = 0;
    std::vector<DataSetObserver*> observers_;
};

// Keeps a dataset's controls disabled for a scope.
class DisableControlsScope {
public:
    explicit DisableControlsScope(TClientDataSet& dataSet) : dataSet_(dataSet) { dataSet_.DisableControls(); }
    ~DisableControlsScope() { dataSet_.EnableControls(); }
    DisableControlsScope(const DisableControlsScope&) = delete;
    DisableControlsScope& operator=(const DisableControlsScope&) = delete;

private:
    TClientDataSet& dataSet_;
};

} // namespace durnak::data
