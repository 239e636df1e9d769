#include "app/TotalsWindow.h"

#include "app/NameText.h"
#include "viewer/MarkBrush.h"
#include "viewer/OutOfFormatNote.h"
#include "viewer/PointsText.h"
#include "widgets/CloseKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

namespace {

constexpr int kFileColumn = 0;
constexpr int kFirstPointsColumn = 5;
// In the pixels of the 8-point font the windows were drawn for.
const QSize kDesignSize(620, 260);

QString countText(std::uint64_t count, const QLocale& locale) {
    return locale.toString(qulonglong(count));
}

} // namespace

TotalsWindow::TotalsWindow(QWidget* owner, SettingsStore& store)
    : QWidget(owner, Qt::Window),
      geometry_(store, QStringLiteral("TotalsWindow"), WindowGeometry::Keep::SizeAndPosition) {
    setObjectName(QStringLiteral("TotalsWindow"));
    setWindowTitle(QStringLiteral("Totals"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);

    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("totalsTable"));
    table_->setAccessibleName(QStringLiteral("Totals"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);

    addCloseKeys(*this);
}

void TotalsWindow::showTotals(const mp::TickedTotals& totals) {
    const QLocale locale = QLocale::system();
    const bool two = totals.anyTwoFigures();
    QStringList headers{QStringLiteral("File"), QStringLiteral("Records"),
                        QStringLiteral("Members"), QStringLiteral("Not counted"),
                        QStringLiteral("Out of format")};
    if (two)
        headers << QStringLiteral("Masterpoints 1") << QStringLiteral("Masterpoints 2");
    else
        headers << QStringLiteral("Masterpoints");
    table_->clearSpans();
    table_->setRowCount(0);
    table_->setColumnCount(int(headers.size()));
    table_->setHorizontalHeaderLabels(headers);
    // Measured as the others are; stretched once the window is sized to the table.
    table_->horizontalHeader()->setSectionResizeMode(kFileColumn, QHeaderView::Interactive);

    const auto numbers = [&](const mp::FileSummary& summary, bool rowTwo) {
        QStringList cells{countText(summary.records, locale), countText(summary.members, locale),
                          countText(summary.notCounted, locale),
                          countText(summary.outOfFormat, locale),
                          pointsText(summary.totals.first, locale)};
        if (two)
            cells << (rowTwo ? pointsText(summary.totals.second, locale) : QString());
        return cells;
    };
    for (const mp::TickedTotals::Row& row : totals.rows) {
        const QString file = textOfBytes(row.displayText);
        if (!row.error.empty()) {
            addRow({file, textOfBytes(row.error)}, true, false);
        } else {
            addRow(QStringList{file} + numbers(row.summary, row.twoFigures), false, false);
            markOutOfFormat(row.summary, row.twoFigures && two, locale);
        }
    }
    for (const mp::TickedTotals::ColourSum& sum : totals.colours) {
        addRow(QStringList{QStringLiteral("All ") + textOfBytes(sum.colour)} +
                   numbers(sum.summary, sum.twoFigures),
               false, true);
        markOutOfFormat(sum.summary, sum.twoFigures && two, locale);
    }

    for (int column = 0; column < table_->columnCount(); ++column)
        if (column != kFileColumn)
            table_->horizontalHeaderItem(column)->setTextAlignment(Qt::AlignRight |
                                                                   Qt::AlignVCenter);
    table_->resizeColumnsToContents();
    if (!restored_) {
        geometry_.restore(*this, kDesignSize);
        restored_ = true;
    }
    fitTable();
    // The names take what room there is, cut (with a tool tip) when there is too little,
    // so that the figures never are; a stretched last column would be squeezed instead.
    table_->horizontalHeader()->setSectionResizeMode(kFileColumn, QHeaderView::Stretch);
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void TotalsWindow::fitTable() {
    // The whole table when it fits in a part of the screen, with scroll bars beyond.
    const int frame = 2 * table_->frameWidth();
    int width = frame;
    for (int column = 0; column < table_->columnCount(); ++column)
        width += table_->columnWidth(column);
    int height = frame + table_->horizontalHeader()->sizeHint().height();
    for (int row = 0; row < table_->rowCount(); ++row)
        height += table_->rowHeight(row);
    const QRect screen =
        this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 800, 600);
    const QSize wanted(std::min(width, screen.width() * 3 / 4),
                       std::min(height, screen.height() * 3 / 4));
    resize(size().expandedTo(wanted));
}

void TotalsWindow::markOutOfFormat(const mp::FileSummary& summary, bool twoFigures,
                                   const QLocale& locale) {
    const int row = table_->rowCount() - 1;
    const auto mark = [&](int column, std::int64_t hundredths) {
        QTableWidgetItem* item = table_->item(row, column);
        const QString note = outOfFormatNote(summary.outOfFormat, hundredths, locale);
        if (item == nullptr || note.isEmpty())
            return;
        item->setBackground(markBrush());
        item->setToolTip(note);
    };
    mark(kFirstPointsColumn, summary.outOfFormatTotals.first);
    if (twoFigures)
        mark(kFirstPointsColumn + 1, summary.outOfFormatTotals.second);
}

void TotalsWindow::addRow(const QStringList& cells, bool isError, bool isSum) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        if (column != kFileColumn && !isError)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // A name or an error cut by a narrow column can still be read whole.
        if (column == kFileColumn || isError)
            item->setToolTip(cells[column]);
        if (isSum) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
        }
        table_->setItem(row, column, item);
    }
    // The error takes the place of every number.
    if (isError && table_->columnCount() > 2)
        table_->setSpan(row, 1, 1, table_->columnCount() - 1);
}

QString TotalsWindow::tableText() const {
    // Read from the table itself; an error row's span is one cell.
    QStringList cells;
    for (int column = 0; column < table_->columnCount(); ++column)
        cells << table_->horizontalHeaderItem(column)->text();
    QStringList lines{cells.join(QLatin1Char('\t'))};
    for (int row = 0; row < table_->rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < table_->columnCount();
             column += table_->columnSpan(row, column)) {
            const QTableWidgetItem* item = table_->item(row, column);
            cells << (item != nullptr ? item->text() : QString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

bool TotalsWindow::eventFilter(QObject* watched, QEvent* event) {
    // The table would copy its current cell alone.
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(tableText());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TotalsWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    geometry_.keep(*this);
}
