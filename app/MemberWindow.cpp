#include "app/MemberWindow.h"

#include "app/CellTableModel.h"
#include "app/NameText.h"
#include "print/PrintActions.h"
#include "widgets/CloseKeys.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

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
      geometry_(store, QStringLiteral("MemberWindow"), WindowGeometry::Keep::SizeAndPosition) {
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
    field_->setMinimumWidth(field_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) +
                            field_->fontMetrics().averageCharWidth() * 2);
    label->setBuddy(field_);
    field_->installEventFilter(this);
    connect(field_, &QLineEdit::textChanged, this, &MemberWindow::search);

    model_ = new CellTableModel(this);
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("memberTable"));
    view_->setAccessibleName(QStringLiteral("Lines of the member"));
    view_->setModel(model_);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->installEventFilter(this);
    connect(view_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("memberStatus"));
    status_->setWordWrap(true);
    problems_ = new QLabel(this);
    problems_->setObjectName(QStringLiteral("memberProblems"));
    problems_->setWordWrap(true);
    problems_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problems_->hide();
    done_ = new QLabel(this);
    done_->setObjectName(QStringLiteral("memberDone"));
    done_->setWordWrap(true);
    done_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    PrintActions::Source source;
    source.job = [this]() -> std::optional<PrintJob> {
        if (!table_)
            return std::nullopt;
        PrintJob job;
        job.title = windowTitle();
        job.folder = textOfBytes(folder_);
        job.table = table_.get();
        job.closing = QStringList{status_->text()};
        return job;
    };
    source.name = [this] { return windowTitle(); };
    source.status = [this](const QString& text) { done_->setText(text); };
    print_ = new PrintActions(*this, prompts, store, std::move(source));
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("memberFileMenu"));
    print_->addTo(*file);

    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(field_);
    top->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    layout->addWidget(status_);
    layout->addWidget(problems_);
    layout->addWidget(done_);
    layout->setMenuBar(bar);

    addCloseKeys(*this);
}

MemberWindow::~MemberWindow() {
    // The view outlives the table, and asks the model for it as it goes.
    model_->setTable(nullptr);
}

void MemberWindow::showIndex(mp::MemberIndex index, std::string folder) {
    model_->setTable(nullptr);
    table_.reset();
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
    search();
    if (!restored_) {
        geometry_.restore(*this, kDesignSize);
        restored_ = true;
    }
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
    model_->setTable(nullptr);
    table_.reset();
    done_->clear();
    if (!member) {
        setWindowTitle(QStringLiteral("Find member"));
        status_->setText(QStringLiteral("Type the seven digits of a member number to find its "
                                        "lines in the %1")
                             .arg(files));
        return;
    }
    table_ = std::make_unique<mp::MemberTable>(index_, *member);
    model_->setTable(table_.get());
    const QString number = field_->text();
    setWindowTitle(QStringLiteral("Member %1").arg(number));
    if (table_->rowCount() == 0) {
        status_->setText(index_.files().size() == 1
                             ? QStringLiteral("Member %1 is not in the %2").arg(number, files)
                             : QStringLiteral("Member %1 is in none of the %2").arg(number, files));
        return;
    }
    const std::size_t lines = table_->rowCount();
    status_->setText(
        QStringLiteral("Member %1: %2 in %3 of the %4")
            .arg(number,
                 lines == 1 ? QStringLiteral("1 line")
                            : QStringLiteral("%1 lines").arg(locale.toString(qulonglong(lines))),
                 locale.toString(qulonglong(table_->filesWithMember())), files));
    view_->resizeColumnsToContents();
    view_->selectRow(0);
}

void MemberWindow::openRow(int row) {
    if (!table_ || row < 0 || std::size_t(row) >= table_->rowCount() || !opener_)
        return;
    opener_(table_->fileOf(std::size_t(row)).entry, folder_, table_->lineOf(std::size_t(row)));
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
