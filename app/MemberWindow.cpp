#include "app/MemberWindow.h"

#include "dialogs/Prompts.h"
#include "print/PrintActions.h"
#include "viewer/TableGrid.h"
#include "viewer/TableModel.h"
#include "widgets/CloseKeys.h"
#include "widgets/FindBar.h"
#include "widgets/NameText.h"
#include "widgets/TableMenus.h"
#include "widgets/TableSaver.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// In the pixels of the 8-point font the windows were drawn for.
const QSize kDesignSize(420, 300);

QString filesText(std::size_t count, const QLocale& locale) {
    return count == 1 ? QStringLiteral("1 file")
                      : QStringLiteral("%1 files").arg(locale.toString(qulonglong(count)));
}

} // namespace

MemberWindow::MemberWindow(QWidget* owner, SettingsStore& store, Prompts& prompts)
    : QWidget(owner, Qt::Window),
      geometry_(store, QStringLiteral("MemberWindow"), WindowGeometry::Keep::SizeAndPosition),
      prompts_(prompts), store_(store) {
    setObjectName(QStringLiteral("MemberWindow"));
    setWindowTitle(QStringLiteral("Find member"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* label = new QLabel(QStringLiteral("&Member number"), this);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("memberNumber"));
    field_->setAccessibleName(QStringLiteral("Member number"));
    field_->setMaxLength(7);
    field_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,7}")), field_));
    // Seven digits and a little room, in the user's font.
    field_->setMinimumWidth(field_->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    label->setBuddy(field_);
    field_->installEventFilter(this);
    connect(field_, &QLineEdit::textChanged, this, &MemberWindow::search);

    view_ = new TableGrid(this);
    view_->setObjectName(QStringLiteral("memberTable"));
    view_->setAccessibleName(QStringLiteral("Lines of the member"));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->installEventFilter(this);
    connect(view_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });

    findBar_ = new FindBar(*this);
    connect(findBar_, &FindBar::searched, this, [this](const QString& digits, FindBar::Step step) {
        findBar_->report(view_->find(digits, step));
    });
    connect(findBar_, &FindBar::closed, this, [this] { view_->setFocus(Qt::OtherFocusReason); });

    const auto line = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    status_ = line("memberStatus");
    problems_ = line("memberProblems");
    problems_->hide();
    done_ = line("memberDone");
    done_->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(field_);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    layout->addWidget(findBar_);
    layout->addWidget(status_);
    layout->addWidget(problems_);
    layout->addWidget(done_);

    addCloseKeys(*this);
    buildMenus();
}

void MemberWindow::buildMenus() {
    PrintActions::Source source;
    source.job = [this]() -> std::optional<PrintJob> {
        if (model_ == nullptr)
            return std::nullopt;
        PrintJob job;
        job.title = windowTitle();
        job.folder = textOfBytes(folder_);
        job.table = &model_->table();
        job.order = &model_->order();
        job.text = [model = model_](const mp::Cell& cell) { return model->displayText(cell); };
        job.closing = QStringList{status_->text()};
        return job;
    };
    source.name = [this] { return windowTitle(); };
    source.status = [this](const QString& text) {
        done_->setText(text);
        done_->show();
    };
    print_ = new PrintActions(*this, prompts_, store_, std::move(source));

    const TableMenus menus = addTableMenus(*this, *findBar_);
    connect(menus.saveCsv, &QAction::triggered, this, &MemberWindow::saveAsCsv);
    print_->addTo(*menus.file, menus.printPlace);
}

void MemberWindow::showIndex(mp::MemberIndex index, std::string folder) {
    index_ = std::move(index);
    folder_ = std::move(folder);
    QStringList problems;
    for (const mp::MemberIndex::File& file : index_.files()) {
        if (file.error.empty())
            continue;
        QString text = textOfBytes(file.error);
        if (file.reason)
            text += QStringLiteral(": ") + textOfBytes(mp::describe(file.reason));
        problems << text;
    }
    problems_->setText(problems.join(QLatin1Char('\n')));
    problems_->setVisible(!problems.isEmpty());
    if (!restored_) {
        geometry_.restore(*this, kDesignSize);
        restored_ = true;
    }
    search();
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    field_->setFocus();
    field_->selectAll();
}

void MemberWindow::search() {
    const QLocale locale;
    const QString files = filesText(index_.files().size(), locale);
    const std::optional<std::uint32_t> member =
        mp::MemberIndex::memberNumber(field_->text().toStdString());
    done_->hide();
    // The view lets go of the old model (and its selection) before they go.
    TableModel* previous = model_;
    QItemSelectionModel* previousSelection = view_->selectionModel();
    model_ = nullptr;
    table_.reset();
    if (member) {
        table_ = std::make_shared<const mp::MemberTable>(index_, *member);
        model_ = new TableModel(table_, TableModel::Display::Localised, true, this);
    }
    view_->setTableModel(model_);
    delete previousSelection;
    delete previous;
    if (!member) {
        setWindowTitle(QStringLiteral("Find member"));
        status_->setText(QStringLiteral("Type the seven digits of a member number to find its "
                                        "lines in the %1")
                             .arg(files));
        return;
    }
    const QString number = field_->text();
    setWindowTitle(QStringLiteral("Member %1").arg(number));
    const std::size_t lines = table_->rowCount();
    if (lines == 0) {
        status_->setText(index_.files().size() == 1
                             ? QStringLiteral("Member %1 is not in the %2").arg(number, files)
                             : QStringLiteral("Member %1 is in none of the %2").arg(number, files));
        return;
    }
    status_->setText(
        QStringLiteral("Member %1: %2 in %3 of the %4")
            .arg(number,
                 lines == 1 ? QStringLiteral("1 line")
                            : QStringLiteral("%1 lines").arg(locale.toString(qulonglong(lines))),
                 locale.toString(qulonglong(table_->filesWithMember())), files));
    view_->resizeColumnsToContents();
    view_->resizeRowsToContents();
    fitTable();
    view_->goToRow(0);
    field_->setFocus();
}

void MemberWindow::fitTable() {
    // The whole table when it fits in a part of the screen, with scroll bars beyond.
    const int frame = 2 * view_->frameWidth();
    int width = frame + view_->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < model_->columnCount(); ++column)
        width += view_->columnWidth(column);
    int height = frame + view_->horizontalHeader()->sizeHint().height();
    for (int row = 0; row < model_->rowCount(); ++row)
        height += view_->rowHeight(row);
    const QRect screen =
        this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 800, 600);
    const QSize grown =
        size() + QSize(std::max(0, width - view_->width()), std::max(0, height - view_->height()));
    resize(grown.boundedTo(screen.size() * 3 / 4).expandedTo(size()));
}

void MemberWindow::openRow(int row) {
    if (model_ == nullptr || row < 0 || model_->isFootRow(row) || !opener_)
        return;
    const std::size_t line = model_->tableRow(row);
    opener_(table_->fileOf(line).entry, folder_, table_->lineOf(line));
}

void MemberWindow::saveAsCsv() {
    if (model_ == nullptr) {
        prompts_.showMessage(QStringLiteral("There is nothing to save"));
        return;
    }
    const std::optional<QString> saved =
        TableSaver(prompts_, store_).saveCsv(model_->table(), model_->order(), windowTitle());
    if (!saved)
        return;
    done_->setText(*saved);
    done_->show();
}

bool MemberWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == field_ || watched == view_) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            const QModelIndex current = view_->currentIndex();
            openRow(current.isValid() ? current.row() : 0);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MemberWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    geometry_.keep(*this);
}
