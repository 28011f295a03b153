#include "pdf/pdf_writer.hpp"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <stdexcept>

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

namespace durnak::server::pdf {

namespace {

constexpr double kPageWidth = 595.28;  // A4 in points
constexpr double kPageHeight = 841.89;
constexpr double kMargin = 40;
constexpr double kFooter = 30;
constexpr double kCellPad = 3;
constexpr const char* kFont = "DejaVu Sans";

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

std::string formatMoney(double amount)
{
    if (!std::isfinite(amount)) return "-";
    const long long kurus = std::llround(amount * 100);
    const bool negative = kurus < 0;
    const unsigned long long abs = negative ? 0ull - static_cast<unsigned long long>(kurus) : kurus;
    std::string whole = std::to_string(abs / 100);
    for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) whole.insert(static_cast<std::size_t>(i), ".");
    char frac[4];
    std::snprintf(frac, sizeof frac, "%02llu", abs % 100);
    return (negative ? "-" : "") + whole + "," + frac;
}

std::string formatDate(std::string_view stored)
{
    if (stored.size() < 10 || stored[4] != '-' || stored[7] != '-') return std::string(stored);
    return std::string(stored.substr(8, 2)) + "." + std::string(stored.substr(5, 2)) + "." +
           std::string(stored.substr(0, 4));
}

struct PdfWriter::State {
    std::string title;
    std::string bytes;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    double y = kMargin;
    int page = 1;
    std::string printed;

    PangoLayout* layout(std::string_view text, double size, bool bold, double width, PangoAlignment align)
    {
        PangoLayout* l = pango_cairo_create_layout(cr);
        PangoFontDescription* font = pango_font_description_new();
        pango_font_description_set_family(font, kFont);
        pango_font_description_set_size(font, static_cast<int>(size * PANGO_SCALE));
        pango_font_description_set_weight(font, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_layout_set_font_description(l, font);
        pango_font_description_free(font);
        pango_layout_set_width(l, static_cast<int>(width * PANGO_SCALE));
        pango_layout_set_wrap(l, PANGO_WRAP_WORD_CHAR);
        pango_layout_set_alignment(l, align);
        pango_layout_set_text(l, text.data(), static_cast<int>(text.size()));
        return l;
    }

    double height(PangoLayout* l)
    {
        int w = 0, h = 0;
        pango_layout_get_size(l, &w, &h);
        return static_cast<double>(h) / PANGO_SCALE;
    }

    void draw(PangoLayout* l, double x, double top)
    {
        cairo_move_to(cr, x, top);
        pango_cairo_show_layout(cr, l);
    }

    void footer()
    {
        PangoLayout* l = layout(title + "  ·  " + printed + "  ·  Sayfa " + std::to_string(page), 7, false,
                                kPageWidth - 2 * kMargin, PANGO_ALIGN_RIGHT);
        cairo_set_source_rgb(cr, 0.4, 0.4, 0.4);
        draw(l, kMargin, kPageHeight - kMargin);
        cairo_set_source_rgb(cr, 0, 0, 0);
        g_object_unref(l);
    }

    void newPage()
    {
        footer();
        cairo_show_page(cr);
        ++page;
        y = kMargin;
    }

    bool fits(double h) const { return y + h <= kPageHeight - kMargin - kFooter; }
};

PdfWriter::PdfWriter(std::string title) : state_(std::make_unique<State>())
{
    state_->title = std::move(title);
    state_->surface = cairo_pdf_surface_create_for_stream(appendBytes, &state_->bytes, kPageWidth, kPageHeight);
    cairo_pdf_surface_set_metadata(state_->surface, CAIRO_PDF_METADATA_TITLE, state_->title.c_str());
    cairo_pdf_surface_set_metadata(state_->surface, CAIRO_PDF_METADATA_CREATOR, "Durnak B2B");
    state_->cr = cairo_create(state_->surface);
    if (cairo_status(state_->cr) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cairo: cannot start a PDF");
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%d.%m.%Y %H:%M", &local);
    state_->printed = text;
}

PdfWriter::~PdfWriter()
{
    if (state_->cr) cairo_destroy(state_->cr);
    if (state_->surface) cairo_surface_destroy(state_->surface);
}

void PdfWriter::heading(std::string_view text)
{
    auto& s = *state_;
    PangoLayout* l = s.layout(text, 15, true, kPageWidth - 2 * kMargin, PANGO_ALIGN_LEFT);
    const double h = s.height(l);
    if (!s.fits(h + 20)) s.newPage();
    cairo_set_source_rgb(s.cr, 0.10, 0.35, 0.66);
    s.draw(l, kMargin, s.y);
    cairo_set_source_rgb(s.cr, 0, 0, 0);
    g_object_unref(l);
    s.y += h + 8;
}

void PdfWriter::paragraph(std::string_view text, bool bold)
{
    auto& s = *state_;
    PangoLayout* l = s.layout(text, 9, bold, kPageWidth - 2 * kMargin, PANGO_ALIGN_LEFT);
    const double h = s.height(l);
    if (!s.fits(h)) s.newPage();
    s.draw(l, kMargin, s.y);
    g_object_unref(l);
    s.y += h + 4;
}

void PdfWriter::fields(const std::vector<std::pair<std::string, std::string>>& rows)
{
    auto& s = *state_;
    constexpr double kLabel = 130;
    for (const auto& [label, value] : rows) {
        PangoLayout* l = s.layout(label, 9, true, kLabel - 6, PANGO_ALIGN_LEFT);
        PangoLayout* v = s.layout(value, 9, false, kPageWidth - 2 * kMargin - kLabel, PANGO_ALIGN_LEFT);
        const double h = std::max(s.height(l), s.height(v));
        if (!s.fits(h)) s.newPage();
        s.draw(l, kMargin, s.y);
        s.draw(v, kMargin + kLabel, s.y);
        g_object_unref(l);
        g_object_unref(v);
        s.y += h + 2;
    }
    s.y += 4;
}

void PdfWriter::table(const std::vector<Column>& columns, const std::vector<std::vector<std::string>>& rows,
                      const std::vector<std::string>& totals)
{
    auto& s = *state_;
    double shares = 0;
    for (const auto& c : columns) shares += c.width;
    std::vector<double> widths;
    for (const auto& c : columns) widths.push_back((kPageWidth - 2 * kMargin) * c.width / shares);

    // One row of cells; returns false (drawing nothing) when it does not fit on the page.
    auto drawRow = [&](const std::vector<std::string>& cells, bool bold, bool shade, bool force) {
        std::vector<PangoLayout*> layouts;
        double h = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::string& text = i < cells.size() ? cells[i] : std::string();
            // A number is never broken over two lines: right-aligned cells are laid out
            // unbounded and placed against the cell's right edge.
            PangoLayout* l = s.layout(text, 8, bold, columns[i].right ? -1 : widths[i] - 2 * kCellPad,
                                      PANGO_ALIGN_LEFT);
            if (columns[i].right) pango_layout_set_width(l, -1);
            h = std::max(h, s.height(l));
            layouts.push_back(l);
        }
        h += 2 * kCellPad;
        const bool fits = force || s.fits(h);
        if (fits) {
            if (shade) {
                cairo_set_source_rgb(s.cr, 0.90, 0.93, 0.97);
                cairo_rectangle(s.cr, kMargin, s.y, kPageWidth - 2 * kMargin, h);
                cairo_fill(s.cr);
                cairo_set_source_rgb(s.cr, 0, 0, 0);
            }
            double x = kMargin;
            for (std::size_t i = 0; i < layouts.size(); ++i) {
                double left = x + kCellPad;
                if (columns[i].right) {
                    int w = 0, unused = 0;
                    pango_layout_get_size(layouts[i], &w, &unused);
                    left = x + widths[i] - kCellPad - static_cast<double>(w) / PANGO_SCALE;
                }
                s.draw(layouts[i], left, s.y + kCellPad);
                x += widths[i];
            }
            s.y += h;
        }
        for (auto* l : layouts) g_object_unref(l);
        return fits;
    };
    std::vector<std::string> captions;
    for (const auto& c : columns) captions.push_back(c.caption);
    auto header = [&] {
        if (!drawRow(captions, true, true, false)) {
            s.newPage();
            drawRow(captions, true, true, true);
        }
    };

    header();
    for (const auto& row : rows) {
        if (!drawRow(row, false, false, false)) {
            s.newPage();
            header();
            drawRow(row, false, false, true);
        }
    }
    if (!totals.empty()) {
        if (!s.fits(20)) {
            s.newPage();
            header();
        }
        cairo_set_line_width(s.cr, 0.6);
        cairo_move_to(s.cr, kMargin, s.y + 1);
        cairo_line_to(s.cr, kPageWidth - kMargin, s.y + 1);
        cairo_stroke(s.cr);
        s.y += 2;
        drawRow(totals, true, false, true);
    }
    s.y += 8;
}

void PdfWriter::space(double points)
{
    state_->y += points;
}

std::string PdfWriter::finish()
{
    auto& s = *state_;
    s.footer();
    cairo_show_page(s.cr);
    cairo_destroy(s.cr);
    s.cr = nullptr;
    cairo_surface_finish(s.surface);
    const auto status = cairo_surface_status(s.surface);
    cairo_surface_destroy(s.surface);
    s.surface = nullptr;
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(std::string("cairo: ") + cairo_status_to_string(status));
    return std::move(s.bytes);
}

} // namespace durnak::server::pdf
