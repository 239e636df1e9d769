#include "print/TablePrinter.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// The characters that mark a cell, one per reason; past the last, the last again.
const QStringList kSigns{QStringLiteral("*"), QStringLiteral("†"), QStringLiteral("‡"),
                         QStringLiteral("§"), QStringLiteral("#")};
// Rows measured for the columns' widths: the first ones tell a file's layout, and
// measuring a million would hold up the print.
constexpr std::size_t kMeasuredRows = 2000;
// The size of the text, and the least it is made to fit a wide table across the page.
constexpr double kPoints = 9;
constexpr double kSmallestPoints = 6.5;
// The shade of a marked cell, light enough for its text on any printer.
const QColor kShade(215, 215, 215);

// The part of a page within its margins, where a painter on the device starts.
QRectF printable(const QPagedPaintDevice& device) {
    return QRectF(QPointF(0, 0),
                  QSizeF(device.pageLayout().paintRectPixels(device.logicalDpiX()).size()));
}

} // namespace

TablePrinter::TablePrinter(PrintJob job) : job_(std::move(job)), table_(*job_.table) {
    font_ = QFont(QStringLiteral("Sans Serif"));
    font_.setPointSizeF(kPoints);
    font_.setStyleHint(QFont::SansSerif);
    // Letters as they are, no "fi" ligature, so that a search in the PDF, or its text
    // copied, finds "file".
    font_.setStyleStrategy(QFont::PreferNoShaping);
    bold_ = font_;
    bold_.setBold(true);
    // Every reason is known before the first page, so that each page keeps room for
    // the legend and a reason has one character on every page.
    const mp::Table& table = table_;
    for (std::size_t row = 0; row < table.rowCount() + table.footCount(); ++row)
        for (std::size_t column = 0; column < table.columnCount(); ++column) {
            const mp::Cell cell = row < table.rowCount()
                                      ? table.cell(row, column)
                                      : table.footCell(row - table.rowCount(), column);
            if (!cell.mark.empty() &&
                std::find(marks_.begin(), marks_.end(), cell.mark) == marks_.end())
                marks_.push_back(cell.mark);
        }
    legendLines_ = int(marks_.size());
}

QString TablePrinter::markSign(const std::string& mark) {
    const auto at = std::find(marks_.begin(), marks_.end(), mark);
    const auto index = std::size_t(at - marks_.begin());
    return kSigns[int(std::min<std::size_t>(index, std::size_t(kSigns.size() - 1)))];
}

std::size_t TablePrinter::lineCount() const {
    return table_.rowCount() + table_.footCount() + std::size_t(job_.closing.size());
}

TablePrinter::Line TablePrinter::lineAt(std::size_t position) const {
    const std::size_t body = table_.rowCount();
    const std::size_t foot = table_.footCount();
    if (position < body)
        return {Line::Body, job_.order->rowAt(position)};
    if (position < body + foot)
        return {Line::Foot, position - body};
    return {Line::Closing, position - body - foot};
}

std::size_t TablePrinter::spanOf(const Line& line, std::size_t column) const {
    if (line.kind != Line::Body)
        return 1;
    const std::size_t span = table_.cellSpan(line.index, column);
    return std::max<std::size_t>(1, std::min(span, table_.columnCount() - column));
}

std::vector<double> TablePrinter::measure(QPagedPaintDevice& device) const {
    const QFontMetricsF metrics(font_, &device);
    const QFontMetricsF boldMetrics(bold_, &device);
    // Room for the mark character, and a pixel against rounding.
    const double sign = metrics.horizontalAdvance(QStringLiteral(" *")) + 1;
    const mp::Table& table = table_;
    std::vector<double> widths(table.columnCount(), 0);
    for (std::size_t column = 0; column < table.columnCount(); ++column) {
        widths[column] =
            boldMetrics.horizontalAdvance(QString::fromStdString(table.columnTitle(column))) + 1;
        const auto measure = [&](const mp::Cell& cell, const QFontMetricsF& m) {
            widths[column] = std::max(widths[column], m.horizontalAdvance(job_.text(cell)) + sign);
        };
        for (std::size_t row = 0; row < std::min(table.rowCount(), kMeasuredRows); ++row)
            if (spanOf({Line::Body, row}, column) == 1)
                measure(table.cell(row, column), metrics);
        for (std::size_t row = 0; row < table.footCount(); ++row)
            measure(table.footCell(row, column), boldMetrics);
    }
    return widths;
}

void TablePrinter::lay(QPagedPaintDevice& device) {
    const QRectF page = printable(device);
    // A table too wide for the page is printed smaller, down to a size still read
    // easily; only past that are its columns squeezed (their texts then cut).
    font_.setPointSizeF(kPoints);
    std::vector<double> widths;
    double total = 0;
    double gap = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        bold_ = font_;
        bold_.setBold(true);
        widths = measure(device);
        gap = QFontMetricsF(font_, &device).horizontalAdvance(QStringLiteral("MM"));
        total = gap * double(std::max<std::size_t>(widths.size(), 1) - 1);
        for (double width : widths)
            total += width;
        if (total <= page.width() || font_.pointSizeF() <= kSmallestPoints)
            break;
        font_.setPointSizeF(std::max(
            kSmallestPoints, std::floor(font_.pointSizeF() * page.width() / total * 4) / 4));
    }
    const QFontMetricsF boldMetrics(bold_, &device);
    Layout layout;
    layout.rowHeight = std::ceil(boldMetrics.height() * 1.25);
    // Head: title, folder and date, a gap; then the column titles.
    layout.top = page.top() + layout.rowHeight * 4;
    layout.bottom = page.bottom() - layout.rowHeight * (2 + legendLines_);
    const double scale = total > page.width() ? page.width() / total : 1.0;
    double left = page.left();
    for (double width : widths) {
        layout.columnLeft.push_back(left);
        layout.columnWidth.push_back(width * scale);
        left += (width + gap) * scale;
    }
    layout.rowsPerPage =
        std::max(1, int(std::floor((layout.bottom - layout.top) / layout.rowHeight)));
    const std::size_t lines = std::max<std::size_t>(lineCount(), 1);
    layout.pages =
        int((lines + std::size_t(layout.rowsPerPage) - 1) / std::size_t(layout.rowsPerPage));
    layout_ = layout;
}

int TablePrinter::pageCount(QPagedPaintDevice& device) {
    lay(device);
    return layout_.pages;
}

bool TablePrinter::print(QPagedPaintDevice& device, int from, int to) {
    lay(device);
    const int first = from > 0 ? std::min(from, layout_.pages) : 1;
    const int last = to > 0 ? std::min(to, layout_.pages) : layout_.pages;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page != first)
            device.newPage();
        paintPage(painter, device, page);
    }
    return painter.end();
}

void TablePrinter::paintPage(QPainter& painter, QPagedPaintDevice& device, int page) {
    const QRectF area = printable(device);
    const double h = layout_.rowHeight;
    const QLocale locale;
    const auto text = [&](const QRectF& box, const QString& s, const QFont& font,
                          Qt::Alignment align = Qt::AlignLeft) {
        painter.setFont(font);
        const QFontMetricsF metrics(font, &device);
        painter.drawText(box, int(align | Qt::AlignVCenter),
                         metrics.elidedText(s, Qt::ElideRight, box.width()));
    };
    // Head.
    text(QRectF(area.left(), area.top(), area.width(), h), job_.title, bold_);
    text(QRectF(area.left(), area.top() + h, area.width(), h),
         QStringLiteral("%1 · printed %2")
             .arg(job_.folder, locale.toString(job_.printed, QLocale::LongFormat)),
         font_);
    const mp::Table& table = table_;
    const double titles = layout_.top - h;
    for (std::size_t column = 0; column < table.columnCount(); ++column)
        text(QRectF(layout_.columnLeft[column], titles, layout_.columnWidth[column], h),
             QString::fromStdString(table.columnTitle(column)), bold_);
    painter.drawLine(QPointF(area.left(), layout_.top), QPointF(area.right(), layout_.top));

    // Rows.
    std::vector<bool> used(marks_.size(), false);
    const std::size_t begin = std::size_t(page - 1) * std::size_t(layout_.rowsPerPage);
    const std::size_t end = std::min(lineCount(), begin + std::size_t(layout_.rowsPerPage));
    for (std::size_t position = begin; position < end; ++position) {
        const double y = layout_.top + double(position - begin) * h;
        const Line line = lineAt(position);
        if (line.kind == Line::Closing) {
            text(QRectF(area.left(), y, area.width(), h), job_.closing[int(line.index)], font_);
            continue;
        }
        const bool foot = line.kind == Line::Foot;
        for (std::size_t column = 0; column < table.columnCount();) {
            const mp::Cell cell =
                foot ? table.footCell(line.index, column) : table.cell(line.index, column);
            const std::size_t last = column + spanOf(line, column) - 1;
            const QRectF box(layout_.columnLeft[column], y,
                             layout_.columnLeft[last] + layout_.columnWidth[last] -
                                 layout_.columnLeft[column],
                             h);
            column = last + 1;
            QString shown = job_.text(cell);
            if (!cell.mark.empty()) {
                painter.fillRect(box, kShade);
                shown += QLatin1Char(' ') + markSign(cell.mark);
                used[std::size_t(std::find(marks_.begin(), marks_.end(), cell.mark) -
                                 marks_.begin())] = true;
            }
            text(box, shown, foot ? bold_ : font_,
                 cell.kind == mp::CellKind::Text ? Qt::AlignLeft : Qt::AlignRight);
        }
    }

    // Legend of this page's marks, then the foot.
    double y = layout_.bottom + h / 2;
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        if (!used[i])
            continue;
        text(QRectF(area.left(), y, area.width(), h),
             markSign(marks_[i]) + QLatin1Char(' ') + QString::fromStdString(marks_[i]), font_);
        y += h;
    }
    text(QRectF(area.left(), area.bottom() - h, area.width(), h),
         QStringLiteral("Page %1 of %2").arg(page).arg(layout_.pages), font_, Qt::AlignHCenter);
}
