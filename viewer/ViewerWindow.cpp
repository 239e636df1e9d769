#include "viewer/ViewerWindow.h"

#include "print/PrintActions.h"
#include "viewer/MarkBrush.h"
#include "viewer/OutOfFormatNote.h"
#include "viewer/PointsText.h"
#include "viewer/TotalField.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerModel.h"
#include "widgets/CloseKeys.h"
#include "widgets/DesignSize.h"
#include "widgets/FindBar.h"
#include "widgets/TableMenus.h"
#include "widgets/TableSaver.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Design sizes, in the pixels of the 8-point font the window was drawn for.
constexpr int kOneFigureWidth = 233;
constexpr int kTwoFigureWidth = 333;
constexpr int kHeight = 480;
constexpr int kPanelHeight = 41;
constexpr int kPanelMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kFieldWidth = 81;
constexpr int kFieldGap = 11;

QString statusText(const mp::FileSummary& summary, bool twoFigures) {
    const QLocale locale = QLocale::system();
    QString text =
        summary.records == 1
            ? QStringLiteral("1 record")
            : QStringLiteral("%1 records").arg(locale.toString(qulonglong(summary.records)));
    if (summary.notCounted > 0)
        text +=
            QStringLiteral(", %1 not counted").arg(locale.toString(qulonglong(summary.notCounted)));
    if (summary.outOfFormat > 0) {
        QString adding = pointsText(summary.outOfFormatTotals.first, locale);
        if (twoFigures)
            adding += QStringLiteral(" / ") + pointsText(summary.outOfFormatTotals.second, locale);
        text += QStringLiteral(", %1 out of format, adding %2")
                    .arg(locale.toString(qulonglong(summary.outOfFormat)), adding);
    }
    return text;
}

// The width a line edit needs to show its whole text, frame and margins included.
int widthForText(const QLineEdit& field) {
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.lineWidth =
        field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field)
                         : 0;
    const QMargins text = field.textMargins();
    const QMargins contents = field.contentsMargins();
    // A line edit keeps two pixels either side of its text, and one for the caret.
    const int width = field.fontMetrics().horizontalAdvance(field.text()) + 2 * 2 + 1 +
                      text.left() + text.right() + contents.left() + contents.right();
    return field.style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, field.fontMetrics().height()),
                           &field)
        .width();
}

void fitField(TotalField& field) {
    field.setMinimumWidth(std::max(designPixels(kFieldWidth, field.font()), widthForText(field)));
}

} // namespace

ViewerWindow::ViewerWindow(QWidget* owner, SettingsStore& store, Prompts& prompts)
    : QWidget(owner, Qt::Window),
      geometry_(store, QStringLiteral("Viewer"), WindowGeometry::Keep::SizeOnly), prompts_(prompts),
      store_(store) {
    setObjectName(QStringLiteral("ViewerWindow"));
    // Closing hides the window; its owner decides when it goes, and a viewer being
    // closed must never end the program.
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
    const auto design = [this](int pixels) { return designPixels(pixels, font()); };

    grid_ = new ViewerGrid(this);
    grid_->setObjectName(QStringLiteral("grid"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("totalsPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setMinimumHeight(design(kPanelHeight));

    auto* closeButton = new QPushButton(QStringLiteral("Close"), panel);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setAccessibleName(QStringLiteral("Close"));
    closeButton->setMinimumSize(designSize(QSize(kButtonWidth, kButtonHeight), font()));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* totalLabel = new QLabel(QStringLiteral("Total"), panel);
    totalLabel->setObjectName(QStringLiteral("totalLabel"));
    totalLabel->setAccessibleName(QStringLiteral("Total"));

    firstTotal_ = new TotalField(panel);
    firstTotal_->setObjectName(QStringLiteral("firstTotal"));
    firstTotal_->setAccessibleName(QStringLiteral("Total"));
    totalLabel->setBuddy(firstTotal_);

    secondTotal_ = new TotalField(panel);
    secondTotal_->setObjectName(QStringLiteral("secondTotal"));
    secondTotal_->setAccessibleName(QStringLiteral("Total"));

    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(design(kPanelMargin), design(kPanelMargin),
                                    design(kPanelMargin), design(kPanelMargin));
    panelLayout->setSpacing(design(4));
    panelLayout->addWidget(closeButton);
    panelLayout->addWidget(totalLabel);
    panelLayout->addWidget(firstTotal_);
    panelLayout->addSpacing(design(kFieldGap));
    panelLayout->addWidget(secondTotal_);
    panelLayout->addStretch(1);

    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QStringLiteral("statusLine"));
    // A long status wraps onto a second line rather than losing its end.
    statusLine_->setWordWrap(true);
    statusLine_->setContentsMargins(design(4), design(2), design(4), design(2));

    // What the last command did (a file saved), apart from the counts, which never change.
    messageLine_ = new QLabel(this);
    messageLine_->setObjectName(QStringLiteral("messageLine"));
    messageLine_->setWordWrap(true);
    messageLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    messageLine_->setContentsMargins(design(4), 0, design(4), design(2));
    // A long path must not widen the window: what does not fit is in the tool tip.
    messageLine_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    messageLine_->hide();

    findBar_ = new FindBar(*this);
    connect(findBar_, &FindBar::searched, this, [this](const QString& digits, FindBar::Step step) {
        findBar_->report(grid_->find(digits, step));
    });
    connect(findBar_, &FindBar::closed, this, [this] { grid_->setFocus(Qt::OtherFocusReason); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel);
    layout->addWidget(grid_, 1);
    layout->addWidget(findBar_);
    layout->addWidget(statusLine_);
    layout->addWidget(messageLine_);

    addCloseKeys(*this);
    buildMenus();

    setTabOrder(closeButton, firstTotal_);
    setTabOrder(firstTotal_, secondTotal_);
    setTabOrder(secondTotal_, grid_);

    resize(designSize(QSize(kOneFigureWidth, kHeight), font()));
}

void ViewerWindow::showFile(const QString& caption, mp::LineList lines, bool twoFigures) {
    setFile(caption, std::move(lines), twoFigures);
    restoreAndRaise();
}

void ViewerWindow::setFile(const QString& caption, mp::LineList lines, bool twoFigures) {
    setWindowTitle(caption);

    ViewerModel* previous = model_;
    QItemSelectionModel* previousSelection = grid_->selectionModel();
    model_ = new ViewerModel(std::move(lines), twoFigures, this);
    grid_->setTableModel(model_);
    messageLine_->clear();
    messageLine_->hide();
    // The view owns neither the model nor its old selection model.
    delete previousSelection;
    delete previous;
    const int columnsWidth = fitColumns();

    const mp::FileSummary& summary = model_->summary();
    const QLocale locale = QLocale::system();
    const mp::Totals totals = model_->totals();
    firstTotal_->setAsFloat(static_cast<double>(totals.first) / 100.0);
    firstTotal_->setMark(
        outOfFormatNote(summary.outOfFormat, summary.outOfFormatTotals.first, locale));
    fitField(*firstTotal_);
    if (twoFigures) {
        secondTotal_->setAsFloat(static_cast<double>(totals.second) / 100.0);
        secondTotal_->setMark(
            outOfFormatNote(summary.outOfFormat, summary.outOfFormatTotals.second, locale));
        fitField(*secondTotal_);
        secondTotal_->show();
    } else {
        secondTotal_->hide();
    }
    statusLine_->setText(statusText(model_->summary(), twoFigures));

    geometry_.restore(*this, QSize(twoFigures ? kTwoFigureWidth : kOneFigureWidth, kHeight));
    // The grid scrolls only up and down: every column must fit across.
    const int columns =
        columnsWidth + 2 * grid_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = std::max({this->width(), columns, layout()->minimumSize().width()});
    if (width != this->width())
        resize(width, height());
}

int ViewerWindow::fitColumns() {
    QHeaderView* header = grid_->horizontalHeader();
    // The grid's own column width, drawn and scaled by its font.
    const int design = header->defaultSectionSize();
    int total = 0;
    for (int column = 0; column < model_->columnCount(); ++column) {
        const int width = std::max(design, header->sectionSizeHint(column));
        grid_->setColumnWidth(column, width);
        total += width;
    }
    return total;
}

void ViewerWindow::keyPressEvent(QKeyEvent* event) {
    // The grid, the buttons and the totals leave F8 alone, so it reaches the window
    // from wherever the focus is.
    if (event->key() == Qt::Key_F8 && event->modifiers() == Qt::NoModifier) {
        moveToNextMark();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        emit rereadWanted();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ViewerWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimised is not closed: its size is kept when it is closed.
    if (!event->spontaneous())
        geometry_.keep(*this);
}

void ViewerWindow::moveToNextMark() {
    if (model_ == nullptr)
        return;
    const QModelIndex next = model_->nextMarked(grid_->currentIndex());
    if (!next.isValid())
        return;
    grid_->setFocus(Qt::ShortcutFocusReason);
    grid_->setCurrentIndex(next);
    grid_->scrollTo(next);
}

void ViewerWindow::buildMenus() {
    menus_ = addTableMenus(*this, *findBar_);
    connect(menus_.saveCsv, &QAction::triggered, this, &ViewerWindow::saveAsCsv);
    addPrinting();
    QMenu* edit = menus_.edit;
    edit->addSeparator();
    QAction* nextMark = edit->addAction(QStringLiteral("Next &mark"));
    nextMark->setObjectName(QStringLiteral("nextMarkAction"));
    // F8 itself is the window's key (keyPressEvent), so that it is one key, not two.
    nextMark->setShortcut(QKeySequence(Qt::Key_F8));
    nextMark->setShortcutContext(Qt::WidgetShortcut);
    connect(nextMark, &QAction::triggered, this, &ViewerWindow::moveToNextMark);
}

void ViewerWindow::addPrinting() {
    PrintActions::Source source;
    source.job = [this]() -> std::optional<PrintJob> {
        if (model_ == nullptr)
            return std::nullopt;
        PrintJob job;
        job.title = windowTitle();
        job.folder = folder_;
        job.table = &model_->lines();
        job.order = &model_->order();
        job.text = [model = model_](const mp::Cell& cell) { return model->displayText(cell); };
        job.closing = QStringList{statusLine_->text()};
        return job;
    };
    source.name = [this] { return windowTitle(); };
    source.status = [this](const QString& text) {
        messageLine_->setText(text);
        messageLine_->setToolTip(text);
        messageLine_->show();
    };
    auto* print = new PrintActions(*this, prompts_, store_, std::move(source));
    print->addTo(*menus_.file, menus_.printPlace);
}

void ViewerWindow::saveAsCsv() {
    if (model_ == nullptr)
        return;
    const std::optional<QString> saved =
        TableSaver(prompts_, store_).saveCsv(model_->lines(), model_->order(), windowTitle());
    if (!saved)
        return;
    messageLine_->setText(*saved);
    messageLine_->setToolTip(*saved);
    messageLine_->show();
}

void ViewerWindow::selectLine(std::uint64_t line) {
    if (model_ == nullptr || line >= model_->order().size())
        return;
    // The line wherever the rows' order now shows it.
    grid_->setFocus(Qt::OtherFocusReason);
    grid_->goToRow(model_->rowOf(std::size_t(line)));
}

void ViewerWindow::restoreAndRaise() {
    show();
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    raise();
    activateWindow();
}

void ViewerWindow::noteFileChanged(bool removed) {
    if (fileNote_ == nullptr) {
        fileNote_ = new QLabel(this);
        fileNote_->setObjectName(QStringLiteral("fileNote"));
        fileNote_->setWordWrap(true);
        // Marked as the grid marks what needs the user's eye, and in bold.
        fileNote_->setAutoFillBackground(true);
        QPalette palette = fileNote_->palette();
        palette.setBrush(QPalette::Window, markBrush());
        fileNote_->setPalette(palette);
        QFont bold = fileNote_->font();
        bold.setBold(true);
        fileNote_->setFont(bold);
        fileNote_->setContentsMargins(statusLine_->contentsMargins());
        layout()->addWidget(fileNote_);
    }
    fileNote_->setText(
        removed ? QStringLiteral("This file has been removed")
                : QStringLiteral("This file has changed since it was opened: press F5 to read "
                                 "it again"));
    fileNote_->show();
}

void ViewerWindow::rereadFile(mp::LineList lines) {
    if (model_ == nullptr)
        return;
    // Where the user was, kept by the file's line where that line still exists: under a
    // sort the same position may hold another line after the reading.
    const auto lineAt = [this](const QModelIndex& index) {
        return model_->isFootRow(index.row()) ? std::size_t(-1) : model_->tableRow(index.row());
    };
    const QModelIndex current = grid_->currentIndex();
    const std::size_t currentLine = current.isValid() ? lineAt(current) : std::size_t(-1);
    const int currentColumn = current.column();
    std::vector<std::pair<std::size_t, int>> selected;
    for (const QModelIndex& index : grid_->selectionModel()->selectedIndexes())
        selected.emplace_back(lineAt(index), index.column());
    const mp::RowOrder sort = model_->order();
    const int scrolled = grid_->verticalScrollBar()->value();
    const QSize size = this->size();

    setFile(windowTitle(), std::move(lines), model_->twoFigures());
    resize(size.expandedTo(minimumSizeHint()));
    grid_->sortAs(int(sort.column()), sort.direction());

    const auto indexOf = [this](std::size_t line, int column) {
        if (line >= model_->order().size() ||
            int(model_->order().positionOf(line)) >= model_->bodyRows())
            return QModelIndex();
        return model_->index(model_->rowOf(line), column);
    };
    QItemSelection selection;
    for (const auto& [line, column] : selected) {
        const QModelIndex same = indexOf(line, column);
        if (same.isValid())
            selection.select(same, same);
    }
    grid_->selectionModel()->select(selection, QItemSelectionModel::Select);
    const QModelIndex again = indexOf(currentLine, currentColumn);
    if (again.isValid())
        grid_->selectionModel()->setCurrentIndex(again, QItemSelectionModel::NoUpdate);
    grid_->verticalScrollBar()->setValue(scrolled);
    if (fileNote_ != nullptr)
        fileNote_->hide();
}
