#include "app/TotalsWindow.h"

#include "masterpoint/TotalsTable.h"
#include "print/PrintActions.h"
#include "viewer/OutOfFormatNote.h"
#include "viewer/TableGrid.h"
#include "viewer/TableModel.h"
#include "widgets/CloseKeys.h"
#include "widgets/FindBar.h"
#include "widgets/NameText.h"
#include "widgets/TableMenus.h"
#include "widgets/TableSaver.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace {

constexpr int kFileColumn = 0;
constexpr int kFirstPointsColumn = 5;
// In the pixels of the 8-point font the windows were drawn for.
const QSize kDesignSize(620, 260);

// The table as the window shows it: a marked figure's tool tip says what the lines out
// of format add as the user's locale writes points, where the table (and the CSV) has
// plain figures.
class TotalsModel : public TableModel {
public:
    TotalsModel(std::shared_ptr<const mp::TotalsTable> table, QObject* parent)
        : TableModel(table, Display::Localised, true, parent), totals_(std::move(table)) {}

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::ToolTipRole || !index.isValid() ||
            cellAt(index.row(), index.column()).mark.empty())
            return TableModel::data(index, role);
        const mp::TickedTotals& totals = totals_->totals();
        const mp::FileSummary& summary =
            isFootRow(index.row()) ? totals.colours[std::size_t(index.row() - bodyRows())].summary
                                   : totals.rows[tableRow(index.row())].summary;
        const bool first = index.column() == kFirstPointsColumn;
        return outOfFormatNote(summary.outOfFormat,
                               first ? summary.outOfFormatTotals.first
                                     : summary.outOfFormatTotals.second,
                               QLocale::system());
    }

private:
    std::shared_ptr<const mp::TotalsTable> totals_;
};

} // namespace

TotalsWindow::TotalsWindow(QWidget* owner, SettingsStore& store, Prompts& prompts)
    : QWidget(owner, Qt::Window),
      geometry_(store, QStringLiteral("TotalsWindow"), WindowGeometry::Keep::SizeAndPosition),
      prompts_(prompts), store_(store) {
    setObjectName(QStringLiteral("TotalsWindow"));
    setWindowTitle(QStringLiteral("Totals"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);

    table_ = new TableGrid(this);
    table_->setObjectName(QStringLiteral("totalsTable"));
    table_->setAccessibleName(QStringLiteral("Totals"));
    table_->setCopiesWhole(true);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    findBar_ = new FindBar(*this);
    connect(findBar_, &FindBar::searched, this, [this](const QString& digits, FindBar::Step step) {
        findBar_->report(table_->find(digits, step));
    });
    connect(findBar_, &FindBar::closed, this, [this] { table_->setFocus(Qt::OtherFocusReason); });

    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    statusLine_->setWordWrap(true);
    statusLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int gap = fontMetrics().averageCharWidth() / 2;
    statusLine_->setContentsMargins(gap, gap, gap, gap);
    statusLine_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(table_, 1);
    layout->addWidget(findBar_);
    layout->addWidget(statusLine_);

    addCloseKeys(*this);

    menus_ = addTableMenus(*this, *findBar_);
    connect(menus_.saveCsv, &QAction::triggered, this, &TotalsWindow::saveAsCsv);
    PrintActions::Source source;
    source.job = [this]() -> std::optional<PrintJob> {
        if (model_ == nullptr)
            return std::nullopt;
        PrintJob job;
        job.title = windowTitle();
        job.folder = folder_;
        job.table = &model_->table();
        job.order = &model_->order();
        job.text = [model = model_](const mp::Cell& cell) { return model->displayText(cell); };
        return job;
    };
    source.name = [this] { return windowTitle(); };
    source.status = [this](const QString& text) {
        statusLine_->setText(text);
        statusLine_->show();
    };
    (new PrintActions(*this, prompts_, store_, std::move(source)))
        ->addTo(*menus_.file, menus_.printPlace);
}

void TotalsWindow::showTotals(const mp::TickedTotals& totals) {
    folder_ = textOfBytes(totals.folder);
    TableModel* previous = model_;
    QItemSelectionModel* previousSelection = table_->selectionModel();
    model_ = new TotalsModel(std::make_shared<const mp::TotalsTable>(totals), this);
    table_->setTableModel(model_);
    // The view owns neither the model nor its old selection model.
    delete previousSelection;
    delete previous;
    connect(model_, &QAbstractItemModel::layoutChanged, this, &TotalsWindow::spanErrors);
    spanErrors();
    statusLine_->clear();
    statusLine_->hide();

    // Measured as the others are; stretched once the window is sized to the table.
    table_->horizontalHeader()->setSectionResizeMode(kFileColumn, QHeaderView::Interactive);
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

void TotalsWindow::spanErrors() {
    table_->clearSpans();
    const mp::Table& table = model_->table();
    for (int row = 0; row < model_->bodyRows(); ++row) {
        const std::size_t span = table.cellSpan(model_->tableRow(row), 1);
        if (span > 1)
            table_->setSpan(row, 1, 1, int(span));
    }
}

void TotalsWindow::fitTable() {
    // The whole table when it fits in a part of the screen, with scroll bars beyond.
    const int frame = 2 * table_->frameWidth();
    int width = frame;
    for (int column = 0; column < model_->columnCount(); ++column)
        width += table_->columnWidth(column);
    int height = frame + table_->horizontalHeader()->sizeHint().height();
    for (int row = 0; row < model_->rowCount(); ++row)
        height += table_->rowHeight(row);
    if (QWidget* bar = layout()->menuBar())
        height += bar->sizeHint().height();
    const QRect screen =
        this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 800, 600);
    const QSize wanted(std::min(width, screen.width() * 3 / 4),
                       std::min(height, screen.height() * 3 / 4));
    resize(size().expandedTo(wanted));
}

void TotalsWindow::saveAsCsv() {
    if (model_ == nullptr)
        return;
    const std::optional<QString> saved =
        TableSaver(prompts_, store_).saveCsv(model_->table(), model_->order(), windowTitle());
    if (!saved)
        return;
    statusLine_->setText(*saved);
    statusLine_->show();
}

void TotalsWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    geometry_.keep(*this);
}
