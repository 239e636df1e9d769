#pragma once
// A window's table (its table of cells, the body in the order shown, each cell's text
// as the window shows it) laid out on pages, for a printer,
// the print preview or a PDF. Every page has a head (the window's title in bold, then
// the folder its files are in and the date printed), the column titles, as many rows
// as fit, and at its foot "Page N of M". The foot rows (a file's Total, the sums per
// colour) follow the body in bold, then the closing lines (a viewer's status line).
//
// A marked cell is shaded and also carries a mark character after its text ("*", then
// "†", "‡", "§" and "#" for further reasons, in the order the reasons are first met),
// so that a black-and-white printer keeps the mark; every page with a mark has a
// legend above its foot giving each of its characters' reasons.
//
// Columns take the width their titles and the widest of the first rows need; a cell
// that covers the rest of its row (a file's error) takes their width; a text wider
// than its column, or than the page, is cut with an ellipsis.

#include "masterpoint/RowOrder.h"
#include "masterpoint/Table.h"

#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

struct PrintJob {
    QString title;                                // the window's title
    QString folder;                               // where its files are
    const mp::Table* table = nullptr;             // outlives the printer
    const mp::RowOrder* order = nullptr;          // the body as shown; outlives the printer
    std::function<QString(const mp::Cell&)> text; // a cell as the window shows it
    QStringList closing;                          // lines after the table, on the last page
    QDateTime printed = QDateTime::currentDateTime();
};

class TablePrinter {
public:
    explicit TablePrinter(PrintJob job);

    // How many pages the job takes on device (its page size and resolution).
    int pageCount(QPagedPaintDevice& device);
    // Paints the pages first to last (from, to: from 1, both inclusive; 0 for all) on
    // device, which must not have a painter yet. False when the device cannot be painted
    // on (a printer that would not start).
    bool print(QPagedPaintDevice& device, int from = 0, int to = 0);

private:
    struct Layout {
        double rowHeight = 0;
        double top = 0;    // of the first row, under the column titles
        double bottom = 0; // where rows must end: above the legend and the foot
        std::vector<double> columnLeft;
        std::vector<double> columnWidth;
        int rowsPerPage = 1;
        int pages = 1;
    };
    // One printed row: a body row (table row), a foot row or a closing line.
    struct Line {
        enum Kind { Body, Foot, Closing } kind;
        std::size_t index;
    };

    void lay(QPagedPaintDevice& device);
    // Each column's width in the fonts as they are now: its title, its widest cell.
    std::vector<double> measure(QPagedPaintDevice& device) const;
    std::size_t lineCount() const;
    Line lineAt(std::size_t position) const;
    void paintPage(QPainter& painter, QPagedPaintDevice& device, int page);
    // The character of a mark, by the order the marks were met.
    QString markSign(const std::string& mark);
    // How many columns body row's cell at column covers, within the table.
    std::size_t spanOf(const Line& line, std::size_t column) const;

    PrintJob job_;
    const mp::Table& table_;
    QFont font_;
    QFont bold_;
    Layout layout_;
    std::vector<std::string> marks_; // the reasons met, in order, one character each
    int legendLines_ = 0;
};
