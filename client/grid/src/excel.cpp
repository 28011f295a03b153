#include "durnak/grid/excel.hpp"

#include <map>

#include <QFile>
#include <xlsxwriter.h>

#include "durnak/data/clientdataset.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/groupgrid.hpp"
#include "durnak/grid/painting.hpp"

namespace durnak::grid {

QString excelNumberFormat(const QString& pattern)
{
    // Only the first section matters for our patterns; text around the digits is dropped.
    const QString section = pattern.section(QLatin1Char(';'), 0, 0);
    const int point = section.indexOf(QLatin1Char('.'));
    const QString integer = point < 0 ? section : section.left(point);
    const QString fraction = point < 0 ? QString() : section.mid(point + 1);
    const bool grouping = integer.contains(QLatin1Char(','));
    const auto zeros = integer.count(QLatin1Char('0'));

    QString result;
    if (grouping) {
        result = QStringLiteral("#,###");
        for (qsizetype i = 0; i < std::min<qsizetype>(zeros, 3); ++i)
            result[result.size() - 1 - i] = QLatin1Char('0');
        for (qsizetype i = 3; i < zeros; ++i)
            result.insert(0, i % 3 == 0 ? QStringLiteral("0,") : QStringLiteral("0"));
    } else {
        result = zeros > 0 ? QString(zeros, QLatin1Char('0')) : QStringLiteral("#");
    }
    QString decimals;
    for (const QChar ch : fraction)
        if (ch == QLatin1Char('0') || ch == QLatin1Char('#'))
            decimals += ch;
    if (!decimals.isEmpty())
        result += QLatin1Char('.') + decimals;
    return result;
}

namespace {

constexpr lxw_row_t kMaxRows = 1048576;

class SheetWriter {
public:
    explicit SheetWriter(const QString& path)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;  // rows go out in order; memory stays flat
        const QByteArray file = QFile::encodeName(path);
        workbook_ = workbook_new_opt(file.constData(), &options);
        if (!workbook_)
            throw ExcelError("Excel dosyası oluşturulamadı: " + path.toStdString());
        sheet_ = workbook_add_worksheet(workbook_, "Sayfa1");
        bold_ = workbook_add_format(workbook_);
        format_set_bold(bold_);
    }
    ~SheetWriter()
    {
        if (workbook_)
            workbook_close(workbook_);
    }

    void close()
    {
        const lxw_error error = workbook_close(workbook_);
        workbook_ = nullptr;
        if (error != LXW_NO_ERROR)
            throw ExcelError(std::string("Excel dosyası yazılamadı: ") + lxw_strerror(error));
    }

    lxw_format* numberFormat(const QString& pattern, bool bold)
    {
        const QString key = (bold ? QStringLiteral("b:") : QStringLiteral("n:")) + pattern;
        auto it = formats_.find(key);
        if (it != formats_.end())
            return it->second;
        lxw_format* format = workbook_add_format(workbook_);
        if (!pattern.isEmpty())
            format_set_num_format(format, pattern.toUtf8().constData());
        if (bold)
            format_set_bold(format);
        formats_.emplace(key, format);
        return format;
    }

    lxw_row_t nextRow()
    {
        if (row_ >= kMaxRows)
            throw ExcelError("Excel sayfası en fazla 1.048.576 satır alır; liste daha uzun.");
        return row_++;
    }

    void text(lxw_row_t row, lxw_col_t col, const QString& value, lxw_format* format = nullptr)
    {
        if (!value.isEmpty())
            check(worksheet_write_string(sheet_, row, col, value.toUtf8().constData(), format));
    }
    void number(lxw_row_t row, lxw_col_t col, double value, lxw_format* format = nullptr)
    {
        check(worksheet_write_number(sheet_, row, col, value, format));
    }
    void boolean(lxw_row_t row, lxw_col_t col, bool value)
    {
        check(worksheet_write_boolean(sheet_, row, col, value ? 1 : 0, nullptr));
    }
    void width(lxw_col_t col, double characters) { worksheet_set_column(sheet_, col, col, characters, nullptr); }
    lxw_format* bold() const { return bold_; }

private:
    static void check(lxw_error error)
    {
        if (error != LXW_NO_ERROR)
            throw ExcelError(std::string("Excel hücresi yazılamadı: ") + lxw_strerror(error));
    }

    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* bold_ = nullptr;
    std::map<QString, lxw_format*> formats_;
    lxw_row_t row_ = 0;
};

QString dateFormat(protocol::FieldType type)
{
    switch (type) {
    case protocol::FieldType::Date: return QStringLiteral("dd.mm.yyyy");
    case protocol::FieldType::Time: return QStringLiteral("hh:mm:ss");
    default: return QStringLiteral("dd.mm.yyyy hh:mm:ss");
    }
}

class GridExporter {
public:
    GridExporter(SheetWriter& sheet, const GridModel& model, const QHeaderView* header, std::vector<int> columns)
        : sheet_(sheet), model_(model), header_(header), columns_(std::move(columns))
    {
    }

    void header()
    {
        const lxw_row_t row = sheet_.nextRow();
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const int c = columns_[i];
            sheet_.text(row, static_cast<lxw_col_t>(i), model_.column(c).headerText(), sheet_.bold());
            sheet_.width(static_cast<lxw_col_t>(i), std::max(6.0, header_->sectionSize(c) / 7.0));
        }
    }

    void dataRow(int gridRow)
    {
        const lxw_row_t row = sheet_.nextRow();
        const int sourceRow = model_.sourceRow(gridRow);
        auto* ds = model_.dataSet();
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const auto col = static_cast<lxw_col_t>(i);
            const int c = columns_[i];
            const GridColumn& column = model_.column(c);
            const int src = model_.sourceColumn(c);
            if (column.kind == CellKind::Custom) {
                if (column.exportText)
                    sheet_.text(row, col, column.exportText(model_, sourceRow));
                else if (src >= 0)
                    sheet_.text(row, col, model_.displayText(gridRow, c));
                continue;
            }
            if (src < 0 || !ds || ds->isNull(sourceRow, src))
                continue;
            const QVariant value = ds->value(sourceRow, src);
            switch (column.kind) {
            case CellKind::Durum:
                sheet_.text(row, col, durumAciklama(value.toInt()));
                continue;
            case CellKind::Check:
                sheet_.boolean(row, col, value.toDouble() != 0);
                continue;
            case CellKind::Flag:
                sheet_.text(row, col, value.toDouble() > 0 ? QStringLiteral("Evet") : QStringLiteral("Hayır"));
                continue;
            case CellKind::PictureMarker:
                sheet_.text(row, col, value.toInt() == 1 ? QStringLiteral("Var") : QStringLiteral("Yok"));
                continue;
            case CellKind::Picture:
                continue;
            case CellKind::Text:
            case CellKind::Custom:
                break;
            }
            const auto type = ds->fieldDef(src).type;
            switch (type) {
            case protocol::FieldType::Int16:
            case protocol::FieldType::Int32:
            case protocol::FieldType::Int64:
            case protocol::FieldType::Float64:
            case protocol::FieldType::Currency:
            case protocol::FieldType::Bcd: {
                const QString format = ds->DisplayFormat(src);
                sheet_.number(row, col, value.toDouble(),
                              format.isEmpty() ? nullptr : sheet_.numberFormat(excelNumberFormat(format), false));
                break;
            }
            case protocol::FieldType::Date:
            case protocol::FieldType::Time:
            case protocol::FieldType::DateTime:
                // OLE Automation day counts are Excel's 1900-system serials.
                sheet_.number(row, col, ds->Data().realAt(static_cast<std::size_t>(sourceRow), static_cast<std::size_t>(src)),
                              sheet_.numberFormat(dateFormat(type), false));
                break;
            case protocol::FieldType::Boolean:
                sheet_.boolean(row, col, value.toBool());
                break;
            case protocol::FieldType::Blob:
                break;
            case protocol::FieldType::String:
            case protocol::FieldType::WideString:
                sheet_.text(row, col, value.toString());
                break;
            }
        }
    }

    void titleRow(const QString& text)
    {
        const lxw_row_t row = sheet_.nextRow();
        sheet_.text(row, 0, text, sheet_.bold());
    }

    void summaryRow(const std::vector<FooterSummary>& summaries, const std::vector<SummaryValue>& values)
    {
        if (summaries.empty())
            return;
        const lxw_row_t row = sheet_.nextRow();
        auto* ds = model_.dataSet();
        for (std::size_t s = 0; s < summaries.size() && s < values.size(); ++s) {
            const auto it = std::find(columns_.begin(), columns_.end(), values[s].column);
            if (it == columns_.end())
                continue;
            QString format = summaries[s].format;
            const int src = model_.sourceColumn(values[s].column);
            if (format.isEmpty() && summaries[s].kind == SummaryKind::Sum && src >= 0 && ds)
                format = ds->DisplayFormat(src);
            const QString excel = format.isEmpty() ? (summaries[s].kind == SummaryKind::Count ? QStringLiteral("0") : QString())
                                                   : excelNumberFormat(format);
            sheet_.number(row, static_cast<lxw_col_t>(it - columns_.begin()), values[s].value,
                          sheet_.numberFormat(excel, true));
        }
    }

private:
    SheetWriter& sheet_;
    const GridModel& model_;
    const QHeaderView* header_;
    std::vector<int> columns_;
};

} // namespace

void ExcelKaydet(const DurnakGrid& grid, const QString& path)
{
    SheetWriter sheet(path);
    const GridModel& model = *grid.gridModel();
    GridExporter exporter(sheet, model, grid.horizontalHeader(), grid.visibleColumns());
    exporter.header();
    for (int row = 0; row < model.rowCount(); ++row)
        exporter.dataRow(row);
    exporter.summaryRow(grid.footerSummaries(), grid.footerValues());
    sheet.close();
}

void ExcelKaydet(const DurnakGroupGrid& grid, const QString& path)
{
    SheetWriter sheet(path);
    const GridModel& model = *grid.gridModel();
    const GroupModel& groups = *grid.groupModel();
    GridExporter exporter(sheet, model, grid.header(), grid.visibleColumns());
    exporter.header();
    if (groups.groupColumn() < 0) {
        for (int row = 0; row < model.rowCount(); ++row)
            exporter.dataRow(row);
    } else {
        // Groups expanded, whatever the view shows.
        for (int g = 0; g < groups.groupCount(); ++g) {
            exporter.titleRow(groups.groupText(g));
            for (int row : groups.groupRows(g))
                exporter.dataRow(row);
            exporter.summaryRow(groups.groupSummaries(), groups.groupFooterValues(g));
        }
    }
    exporter.summaryRow(grid.footerSummaries(), grid.footerValues());
    sheet.close();
}

} // namespace durnak::grid
