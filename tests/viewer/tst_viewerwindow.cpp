// Viewer window: layouts, cells, totals, the status line, marks, copying, closing, its
// size and its fit to the user's font, driven as a user would.

#include "settings/SettingsStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "viewer/TotalField.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerModel.h"
#include "viewer/ViewerWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// A totals text written with "." shown with the system's decimal symbol.
QString totalText(QString text) {
    return text.replace('.', QLocale::system().decimalPoint());
}

// A main window with one viewer, fed from a file written in a folder of its own, with
// a settings store of its own.
struct Fixture {
    QTemporaryDir dir;
    SettingsStore store{dir.filePath("settings.ini")};
    ScriptedPrompts prompts;
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    QPointer<ViewerWindow> viewer = new ViewerWindow(owner.get(), store, prompts);

    void show(const QByteArray& bytes, bool twoFigures, const QString& caption = "CLUB.GLD") {
        const QString path = dir.filePath(caption);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        mp::LineList lines;
        lines.loadFromFile(path.toStdString());
        viewer->showFile(caption, std::move(lines), twoFigures);
    }
    template <typename T> T* child(const char* name) const {
        T* found = viewer->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr)
            qFatal("the viewer has no %s", name);
        return found;
    }
    QTableView* grid() const { return child<QTableView>("grid"); }
    // The grid's member numbers from the top down, joined by spaces.
    QString members() const {
        QStringList numbers;
        for (int row = 0; row < grid()->model()->rowCount(); ++row)
            numbers << cell(row, 0);
        return numbers.join(' ');
    }
    void clickHeader(int column) const {
        QHeaderView* header = grid()->horizontalHeader();
        const QPoint centre(header->sectionViewportPosition(column) +
                                header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }
    QString status() const { return child<QLabel>("statusLine")->text(); }
    QString cell(int row, int column) const {
        return grid()->model()->index(row, column).data().toString();
    }
};

} // namespace

class tst_ViewerWindow : public QObject {
    Q_OBJECT
private slots:
    void showsTheFileInItsLayout_data();
    void showsTheFileInItsLayout();
    void statusLineCountsRecords_data();
    void statusLineCountsRecords();
    void f8WalksTheMarksAndWraps();
    void copiesTheSelectedRange();
    void closingHidesAndKeepsTheWindow_data();
    void closingHidesAndKeepsTheWindow();
    void theGridGrowsWithTheWindow();
    void theNextViewerOpensAtTheSizeLastClosed();
    void fitsTheFont_data();
    void fitsTheFont();
    void answersForAMillionLines();
    void headerClicksSortAndTheMarksFollow();
    void findBarWalksTheRowsShown();
    void savesTheRowsShownAsCsv_data();
    void savesTheRowsShownAsCsv();
    void savesThePagesAsPdf_data();
    void savesThePagesAsPdf();
    void asksBeforeManyPages();
};

void tst_ViewerWindow::showsTheFileInItsLayout_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("twoFigures");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("lastRow");
    QTest::addColumn<QString>("total1");
    QTest::addColumn<QString>("total2"); // empty when hidden
    QTest::newRow("one figure") << QByteArray("1234567001250\r\n7654321000075\r\n") << false << 2
                                << QStringList({"7654321", "0000.75"}) << "    13.25"
                                << "";
    QTest::newRow("two figures") << QByteArray("1234567001250000300") << true << 1
                                 << QStringList({"1234567", "0012.50", "0003.00"}) << "    12.50"
                                 << "     3.00";
    QTest::newRow("empty file") << QByteArray() << true << 0 << QStringList() << "     0.00"
                                << "     0.00";
    QTest::newRow("empty line") << QByteArray("\n") << true << 1 << QStringList({" ", ".", "."})
                                << "     0.00"
                                << "     0.00";
    QTest::newRow("bad first figure skipped")
        << QByteArray("1234567001250\n1234567ABCDEF") << false << 2
        << QStringList({"1234567", "ABCD.EF"}) << "    12.50"
        << "";
    QTest::newRow("bad second figure keeps the first")
        << QByteArray("123456700050000A100") << true << 1
        << QStringList({"1234567", "0005.00", "00A1.00"}) << "     5.00"
        << "     0.00";
    QTest::newRow("8-bit bytes as themselves")
        << QByteArray("\xe9\xfc"
                      "34567\xa3"
                      "01250")
        << false << 1
        << QStringList({QStringLiteral("\u00e9\u00fc34567"), QStringLiteral("\u00a3012.50")})
        << "     0.00"
        << "";
    QTest::newRow("a million points shown whole")
        << QByteArray("1234567999999\n").repeated(150) << false << 150
        << QStringList({"1234567", "9999.99"}) << "1499998.50"
        << "";
}

void tst_ViewerWindow::showsTheFileInItsLayout() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, twoFigures);
    QFETCH(int, rows);
    QFETCH(QStringList, lastRow);
    QFETCH(QString, total1);
    QFETCH(QString, total2);
    Fixture f;
    f.show(bytes, twoFigures, "CLUB0612.MP1(GLD)");
    QVERIFY(f.viewer->isVisible());
    QCOMPARE(f.viewer->windowTitle(), QString("CLUB0612.MP1(GLD)"));

    const int columns = twoFigures ? 3 : 2;
    QAbstractItemModel* model = f.grid()->model();
    QCOMPARE(model->columnCount(), columns);
    QStringList headers, cells;
    for (int column = 0; column < columns; ++column) {
        headers << model->headerData(column, Qt::Horizontal).toString();
        if (model->rowCount() > 0)
            cells << f.cell(model->rowCount() - 1, column);
    }
    QCOMPARE(headers, QStringList({"Kavra No.", "Masterpoints", "Masterpoints"}).mid(0, columns));
    QCOMPARE(cells, lastRow);
    QCOMPARE(model->rowCount(), rows);

    auto* field2 = f.child<TotalField>("secondTotal");
    QCOMPARE(f.child<TotalField>("firstTotal")->text(), totalText(total1));
    QCOMPARE(field2->isVisible(), twoFigures);
    if (twoFigures)
        QCOMPARE(field2->text(), totalText(total2));
    // Every column in view: the grid scrolls only up and down.
    QTableView* grid = f.grid();
    QVERIFY(grid->verticalHeader()->isHidden());
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(grid->horizontalHeader()->length() <= grid->viewport()->width());
}

void tst_ViewerWindow::statusLineCountsRecords_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("twoFigures");
    QTest::addColumn<QString>("status");
    const QLocale locale = QLocale::system();
    const QString point = locale.decimalPoint();
    QTest::newRow("empty file") << QByteArray() << false << "0 records";
    QTest::newRow("one record") << QByteArray("1234567001250\r\n") << false << "1 record";
    QTest::newRow("a thousand records, grouped") << QByteArray("1234567001250\n").repeated(1000)
                                                 << false << locale.toString(1000) + " records";
    // Not counted: letters, an empty line, blanks after the digits. Out of format but
    // counted: a sign (12.50), blanks before the figure (1.25), a long line (12.50).
    QTest::newRow("problems") << QByteArray("1234567ABCDEF\n\n1234567+01250\n1234567   125\n"
                                            "12345670012500\n1234567125   \n")
                              << false
                              << "6 records, 3 not counted, 3 out of format, adding 26" + point +
                                     "25";
    QTest::newRow("a line shifted right, grouped points")
        << QByteArray("1234567002321\n 1234567002321\n") << false
        << "2 records, 1 out of format, adding " + locale.toString(7002) + point + "32";
    QTest::newRow("one bad figure of two: counted and out of format")
        << QByteArray("123456700050000A100\n1234567001250000300\n1234567001250\n") << true
        << "3 records, 2 not counted, 2 out of format, adding 17" + point + "50 / 0" + point + "00";
    QTest::newRow("a signed second figure")
        << QByteArray("1234567001250-00100\n") << true
        << "1 record, 1 out of format, adding 12" + point + "50 / " + locale.negativeSign() + "1" +
               point + "00";
}

void tst_ViewerWindow::statusLineCountsRecords() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, twoFigures);
    QFETCH(QString, status);
    Fixture f;
    f.show(bytes, twoFigures);
    QVERIFY(f.child<QLabel>("statusLine")->isVisible());
    QCOMPARE(f.status(), status);
}

// F8 from wherever the focus is: marked cells in reading order, each with its reason,
// then round again from the top.
void tst_ViewerWindow::f8WalksTheMarksAndWraps() {
    Fixture f;
    f.show("1234567001250000300\n"
           "123456700050000A100\n"
           "1234567001250000300\n"
           "12345 7001250000300\n"
           "\n",
           true);
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    QTableView* grid = f.grid();
    f.child<QPushButton>("closeButton")->setFocus();
    const QString notANumber = "Not a number: not counted in the total";
    const QString notARecord = "Not a 19-digit record";
    const QString counted = "Counted in the total, but this line is not a 19-digit record";
    const struct {
        int row, column;
        QString reason;
    } stops[] = {{1, 1, counted},    {1, 2, notANumber}, {3, 0, notARecord},
                 {3, 1, counted},    {3, 2, counted},    {4, 1, notANumber},
                 {4, 2, notANumber}, {1, 1, counted},    {1, 2, notANumber}};
    for (const auto& stop : stops) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
        const QModelIndex current = grid->currentIndex();
        QCOMPARE(QPoint(current.row(), current.column()), QPoint(stop.row, stop.column));
        QCOMPARE(current.data(Qt::ToolTipRole).toString(), stop.reason);
        QVERIFY(current.data(Qt::BackgroundRole).value<QBrush>() !=
                grid->model()->index(0, stop.column).data(Qt::BackgroundRole).value<QBrush>());
        QVERIFY(grid->hasFocus());
    }
    QVERIFY(!grid->model()->index(2, 1).data(Qt::ToolTipRole).isValid());

    // A file without marks: F8 leaves the current cell where it is.
    f.show("1234567001250\n7654321000075\n", false);
    grid->setCurrentIndex(grid->model()->index(1, 1));
    QTest::keyClick(grid, Qt::Key_F8);
    QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));
}

void tst_ViewerWindow::copiesTheSelectedRange() {
    Fixture f;
    f.show("1234567001250000300\n7654321000075000001\n1111111000100000200\n", true);
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    QTableView* grid = f.grid();
    const auto centre = [&](int row, int column) {
        return grid->visualRect(grid->model()->index(row, column)).center();
    };
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(0, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, centre(1, 2));
    QApplication::clipboard()->clear();
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("0012.50\t0003.00\n0000.75\t0000.01"));

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(2, 0));
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("1111111"));
}

void tst_ViewerWindow::closingHidesAndKeepsTheWindow_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("focus"); // the widget that has the focus meanwhile
    QTest::newRow("Close button") << "click"
                                  << "closeButton";
    QTest::newRow("Esc in the grid") << "Esc"
                                     << "grid";
    QTest::newRow("Esc in a total") << "Esc"
                                    << "firstTotal";
    QTest::newRow("Ctrl+W in the grid") << "Ctrl+W"
                                        << "grid";
    QTest::newRow("Ctrl+W on the button") << "Ctrl+W"
                                          << "closeButton";
    QTest::newRow("close box") << "close"
                               << "grid";
}

void tst_ViewerWindow::closingHidesAndKeepsTheWindow() {
    QFETCH(QString, way);
    QFETCH(QString, focus);
    Fixture f;
    f.show("1234567001250", false);
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    f.viewer->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.viewer));
    auto* focused = f.child<QWidget>(focus.toLatin1().constData());
    focused->setFocus();
    if (way == "click")
        QTest::mouseClick(f.child<QPushButton>("closeButton"), Qt::LeftButton);
    else if (way == "Esc")
        QTest::keyClick(focused, Qt::Key_Escape);
    else if (way == "Ctrl+W")
        QTest::keyClick(focused, Qt::Key_W, Qt::ControlModifier);
    else
        QVERIFY(f.viewer->close());
    QVERIFY(!f.viewer->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(f.viewer);

    f.viewer->showMinimized();
    f.viewer->restoreAndRaise();
    QVERIFY(f.viewer->isVisible());
    QVERIFY(!(f.viewer->windowState() & Qt::WindowMinimized));
    QCOMPARE(f.cell(0, 1), QString("0012.50"));
    QCOMPARE(f.child<TotalField>("firstTotal")->text(), totalText("    12.50"));

    f.owner.reset(); // the owner takes its viewers with it
    QVERIFY(!f.viewer);
}

void tst_ViewerWindow::theGridGrowsWithTheWindow() {
    Fixture f;
    f.show("1234567001250000300\n", true);
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    QTableView* grid = f.grid();
    const QSize before = grid->size();
    f.viewer->resize(f.viewer->size() + QSize(150, 200));
    QTRY_COMPARE(grid->size(), before + QSize(150, 200));
    // The room goes to the columns, not to an empty strip beside them.
    QCOMPARE(grid->horizontalHeader()->length(), grid->viewport()->width());
}

// Each viewer opens at the size the last one was closed with; one too narrow for its
// columns is widened.
void tst_ViewerWindow::theNextViewerOpensAtTheSizeLastClosed() {
    Fixture f;
    f.show("1234567001250\n", false);
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    const QSize chosen = f.viewer->size() + QSize(120, 90);
    f.viewer->resize(chosen);
    QTRY_COMPARE(f.viewer->size(), chosen);
    f.viewer->close();

    auto* next = new ViewerWindow(f.owner.get(), f.store, f.prompts);
    next->showFile("NEXT.GLD", mp::LineList::fromBytes("7654321000075\n"), false);
    QCOMPARE(next->size(), chosen);

    next->resize(QSize(60, chosen.height()));
    next->close();
    auto* narrow = new ViewerWindow(f.owner.get(), f.store, f.prompts);
    narrow->showFile("NARROW.GAR", mp::LineList::fromBytes("7654321000075000100\n"), true);
    QCOMPARE(narrow->height(), chosen.height());
    auto* grid = narrow->findChild<QTableView*>("grid");
    QVERIFY(grid->horizontalHeader()->length() <= grid->viewport()->width());
}

// Every text of the window whole, at the default font and at a large one: labels and
// buttons at least their size hints, each header at least as wide as its text needs,
// each total as wide as its text, the status line as high as its wrapped text.
void tst_ViewerWindow::fitsTheFont_data() {
    QTest::addColumn<int>("points"); // 0: the default font
    QTest::addColumn<bool>("twoFigures");
    QTest::newRow("default font, one figure") << 0 << false;
    QTest::newRow("13 points, one figure") << 13 << false;
    QTest::newRow("13 points, two figures") << 13 << true;
}

void tst_ViewerWindow::fitsTheFont() {
    QFETCH(int, points);
    QFETCH(bool, twoFigures);
    const QFont original = QApplication::font();
    QFont font = original;
    if (points > 0)
        font.setPointSize(points);
    QApplication::setFont(font);
    const auto restoreFont = qScopeGuard([&] { QApplication::setFont(original); });
    Fixture f;
    // Every kind of status at once, with a wide total.
    f.show("1234567999999999999\n1234567ABCDEF000100\n 1234567002321000100\n"
           "1234567999999999999\n",
           twoFigures);
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    QCoreApplication::processEvents();

    for (const char* name : {"closeButton", "totalLabel"}) {
        auto* widget = f.child<QWidget>(name);
        QVERIFY2(widget->width() >= widget->sizeHint().width() &&
                     widget->height() >= widget->sizeHint().height(),
                 name);
    }
    QList<TotalField*> totals{f.child<TotalField>("firstTotal")};
    if (twoFigures)
        totals << f.child<TotalField>("secondTotal");
    for (TotalField* total : totals)
        QVERIFY2(total->contentsRect().width() >
                     total->fontMetrics().horizontalAdvance(total->text()),
                 qPrintable(total->text()));
    QHeaderView* header = f.grid()->horizontalHeader();
    for (int column = 0; column < header->count(); ++column)
        QVERIFY(header->sectionSize(column) >= header->sectionSizeHint(column));
    auto* status = f.child<QLabel>("statusLine");
    QVERIFY(status->text().contains("out of format"));
    QVERIFY2(status->height() >= status->heightForWidth(status->width()),
             qPrintable(status->text()));
    QVERIFY(f.grid()->verticalHeader()->defaultSectionSize() >= f.grid()->fontMetrics().height());
}

void tst_ViewerWindow::answersForAMillionLines() {
    const int count = 1000000;
    std::string bytes;
    bytes.reserve(count * 14);
    for (int i = 1; i < count; ++i)
        bytes += "1234567001250\n";
    bytes += "7654321000075";
    ViewerModel model(mp::LineList::fromBytes(bytes), false);
    QCOMPARE(model.rowCount(), count);
    QCOMPARE(model.index(count - 1, 0).data().toString(), QString("7654321"));
    QCOMPARE(model.index(count - 1, 1).data().toString(), QString("0000.75"));
    QCOMPARE(model.index(count, 1).data(), QVariant());
    QCOMPARE(model.totals().first, std::int64_t(count - 1) * 1250 + 75);

    QWidget owner;
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("settings.ini"));
    ScriptedPrompts prompts;
    auto* viewer = new ViewerWindow(&owner, store, prompts);
    viewer->showFile("BIG.GLD", mp::LineList::fromBytes(bytes), false);
    auto* grid = viewer->findChild<QTableView*>("grid");
    grid->scrollToBottom();
    QCOMPARE(grid->model()->rowCount(), count);
    QCOMPARE(viewer->findChild<TotalField*>("firstTotal")->text(), totalText("12499988.25"));
}

// Header clicks: the sort, its indicator, and the marks, F8 and the copied text going
// with their lines while the totals and the status line stay as they were.
void tst_ViewerWindow::headerClicksSortAndTheMarksFollow() {
    Fixture f;
    f.show("3333333000200\n1111111ABCDEF\n2222222000900\n4444444000200\n", false);
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    const QString status = f.status();
    QHeaderView* header = f.grid()->horizontalHeader();
    const struct {
        QString members;
        int indicator; // -1: none
        Qt::SortOrder order;
        int markedRow; // where the bad figure of 1111111 now stands
    } clicks[] = {
        {"3333333 4444444 2222222 1111111", 1, Qt::AscendingOrder, 3},
        {"2222222 3333333 4444444 1111111", 1, Qt::DescendingOrder, 3},
        {"3333333 1111111 2222222 4444444", -1, Qt::AscendingOrder, 1},
    };
    for (const auto& click : clicks) {
        f.grid()->setCurrentIndex(f.grid()->model()->index(f.members().indexOf("4444444") / 8, 0));
        f.clickHeader(1);
        QCOMPARE(f.members(), click.members);
        QCOMPARE(f.cell(f.grid()->currentIndex().row(), 0), QString("4444444"));
        QCOMPARE(header->sortIndicatorSection(), click.indicator);
        if (click.indicator >= 0)
            QCOMPARE(header->sortIndicatorOrder(), click.order);
        QCOMPARE(f.grid()->model()->index(click.markedRow, 1).data(Qt::ToolTipRole).toString(),
                 QString("Not a number: not counted in the total"));
        f.grid()->setCurrentIndex(f.grid()->model()->index(0, 0));
        QTest::keyClick(f.grid(), Qt::Key_F8);
        QCOMPARE(f.grid()->currentIndex().row(), click.markedRow);
        QCOMPARE(f.status(), status);
        QCOMPARE(f.child<TotalField>("firstTotal")->text(), totalText("    13.00"));
    }
    f.clickHeader(0);
    f.clickHeader(0);
    QCOMPARE(f.members(), QString("4444444 3333333 2222222 1111111"));
    f.grid()->selectionModel()->select(f.grid()->model()->index(0, 0),
                                       QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(f.grid(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("4444444"));
}

// Ctrl+F, typing, Enter, F3 and Shift+F3 over the rows as shown; wrapping said, a miss
// leaving the row where it was; Esc closing the bar, a second Esc the window.
void tst_ViewerWindow::findBarWalksTheRowsShown() {
    Fixture f;
    f.show("5651303000100\n1234567000900\n0565130000500\n7777777000200\n", false);
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    f.viewer->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.viewer));
    f.grid()->setFocus();
    f.grid()->setCurrentIndex(f.grid()->model()->index(1, 0));
    QTest::keyClick(f.grid(), Qt::Key_F, Qt::ControlModifier);
    auto* field = f.child<QLineEdit>("findField");
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(field->accessibleName(), QString("Find member"));
    auto* note = f.child<QLabel>("findNote");
    const auto row = [&] { return f.grid()->currentIndex().row(); };
    const struct {
        QString keys; // digits typed, or "Enter", "F3", "Shift+F3"
        int row;
        QString note;
    } steps[] = {
        {"565", 2, ""}, // at or after the current row
        {"Enter", 0, "Search wrapped"},
        {"F3", 2, ""},
        {"Shift+F3", 0, ""},
        {"9", 0, "Not found"}, // 5659: none, the row stays
    };
    for (const auto& step : steps) {
        if (step.keys == "Enter")
            QTest::keyClick(field, Qt::Key_Return);
        else if (step.keys == "F3")
            QTest::keyClick(field, Qt::Key_F3);
        else if (step.keys == "Shift+F3")
            QTest::keyClick(field, Qt::Key_F3, Qt::ShiftModifier);
        else
            QTest::keyClicks(field, step.keys);
        QCOMPARE(row(), step.row);
        QCOMPARE(note->text(), step.note);
    }
    // Sorted by points, descending: 1234567, 0565130, 7777777, 5651303.
    f.clickHeader(1);
    f.clickHeader(1);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(f.cell(row(), 0), QString("5651303"));
    QTest::keyClick(field, Qt::Key_F3);
    QCOMPARE(f.cell(row(), 0), QString("0565130"));
    QCOMPARE(note->text(), QString("Search wrapped"));

    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!f.child<QWidget>("findBar")->isVisible());
    QVERIFY(f.viewer->isVisible());
    QTRY_VERIFY(f.grid()->hasFocus());
    QTest::keyClick(f.grid(), Qt::Key_Escape);
    QVERIFY(!f.viewer->isVisible());
}

void tst_ViewerWindow::savesTheRowsShownAsCsv_data() {
    QTest::addColumn<QString>("there");       // what the chosen name holds before; "-": nothing
    QTest::addColumn<QList<bool>>("replace"); // the answers to the replace question
    QTest::addColumn<bool>("saved");
    QTest::newRow("a new name") << "-" << QList<bool>{} << true;
    QTest::newRow("replacing, Yes") << "old" << QList<bool>{true} << true;
    QTest::newRow("replacing, No, then cancel") << "old" << QList<bool>{false} << false;
    QTest::newRow("a folder that is not there") << "no folder" << QList<bool>{} << false;
}

// Ctrl+S: the name proposed in the folder last saved to, the replace question, the
// rows as shown in the file, what the window says; a failure said with its reason.
void tst_ViewerWindow::savesTheRowsShownAsCsv() {
    QFETCH(QString, there);
    QFETCH(QList<bool>, replace);
    QFETCH(bool, saved);
    Fixture f;
    f.store.writeString("paths", "SaveFolder", f.dir.path());
    f.show("0012345000300\n7654321001250\n", false, "CLUB0612.GLD");
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    f.clickHeader(1);
    f.clickHeader(1);
    const QString path =
        there == "no folder" ? f.dir.filePath("gone/CLUB0612.csv") : f.dir.filePath("CLUB0612.csv");
    if (there == "old") {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    f.prompts.saveAnswers = {path};
    f.prompts.yesNoAnswers = std::deque<bool>(replace.begin(), replace.end());
    f.grid()->setFocus();
    QTest::keyClick(f.grid(), Qt::Key_S, Qt::ControlModifier);

    QCOMPARE(f.prompts.asked.first(), "save:" + f.dir.filePath("CLUB0612.csv"));
    QCOMPARE(f.prompts.asked.filter("question:").size(), replace.size());
    auto* message = f.child<QLabel>("messageLine");
    QFile file(path);
    if (saved) {
        QCOMPARE(message->text(), "Saved 2 lines to " + path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\xEF\xBB\xBFKavra No.,Masterpoints,Note\r\n"
                                            "\"=\"\"7654321\"\"\",12.50,\r\n"
                                            "\"=\"\"0012345\"\"\",3.00,\r\n"
                                            "Total,15.50,\r\n"));
        // As a spreadsheet's default import reads it: the member numbers whole, the
        // figures numbers (text would come back as written).
        const QString soffice = QStandardPaths::findExecutable("soffice");
        if (!soffice.isEmpty() && replace.isEmpty()) {
            QProcess calc;
            calc.start(soffice,
                       {"-env:UserInstallation=file://" + f.dir.filePath("profile"), "--headless",
                        "--convert-to", "csv", "--outdir", f.dir.filePath("calc"), path});
            QVERIFY(calc.waitForFinished(120000));
            QFile back(f.dir.filePath("calc/CLUB0612.csv"));
            QVERIFY(back.open(QIODevice::ReadOnly));
            QCOMPARE(back.readAll().split('\n').mid(1, 3),
                     QList<QByteArray>({"7654321,12.5,", "0012345,3,", "Total,15.5,"}));
        }
    } else {
        QVERIFY(message->text().isEmpty());
        if (there == "old") {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("old"));
        }
    }
    if (there == "no folder")
        QVERIFY(f.prompts.errors().value(0).startsWith("Cannot create file " + path));
    else
        QVERIFY(f.prompts.errors().isEmpty());
}

void tst_ViewerWindow::savesThePagesAsPdf_data() {
    QTest::addColumn<QString>("folder");   // where the PDF goes, under the test's folder
    QTest::addColumn<QStringList>("text"); // found in the PDF in this order; none: an error
    // Guards: a head or foot on the first page only, column titles not repeated, the
    // rows printed in the file's order rather than as shown, a mark kept only as a
    // shade, the Total or the counts missing from the last page, half a file left.
    QTest::newRow("two pages, sorted, a mark")
        << "."
        << QStringList{"CLUB0612.GLD",
                       "printed",
                       "Kavra No.",
                       "9999999",
                       "0099.99",
                       "Page 1 of 2",
                       "Kavra No.",
                       "1234567",
                       "ABCD.EF *",
                       "Total",
                       "62 records, 1 not counted",
                       "* Not a number: not counted in the total",
                       "Page 2 of 2"};
    QTest::newRow("a folder that is not there") << "gone" << QStringList{};
}

void tst_ViewerWindow::savesThePagesAsPdf() {
    QFETCH(QString, folder);
    QFETCH(QStringList, text);
    Fixture f;
    QByteArray bytes;
    for (int i = 0; i < 60; ++i)
        bytes += QByteArray::number(1000000 + i) + "000001\r\n";
    f.show("1234567ABCDEF\r\n9999999009999\r\n" + bytes, false, "CLUB0612.GLD");
    f.viewer->setFolder(f.dir.path());
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    f.clickHeader(1);
    f.clickHeader(1); // descending: 9999999 first, the line that is not a number last
    const QString path = QDir(f.dir.filePath(folder)).filePath("CLUB0612.pdf");
    f.prompts.saveAnswers = {path};
    f.grid()->setFocus();
    QTest::keyClick(f.grid(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    if (text.isEmpty()) {
        QVERIFY(f.prompts.errors().value(0).startsWith("Cannot create file " + path));
        QVERIFY(!QFile::exists(path));
        return;
    }
    QCOMPARE(f.child<QLabel>("messageLine")->text(), "Saved 2 pages to " + path);
    const QString read = testfiles::pdfText(path);
    qsizetype at = 0;
    for (const QString& part : text) {
        at = read.indexOf(part, at);
        QVERIFY2(at >= 0, qPrintable(part + " not found in order in:\n" + read));
    }
}

// Guards: a file of thousands of lines sent to the preview (or a printer) unasked; the
// question left unheeded.
void tst_ViewerWindow::asksBeforeManyPages() {
    Fixture f;
    QByteArray bytes;
    for (int i = 0; i < 4000; ++i)
        bytes += QByteArray::number(1000000 + i) + "000001\r\n";
    f.show(bytes, false, "BIG.GLD");
    f.viewer->findChild<QAction*>(QStringLiteral("printPreviewAction"))->trigger();
    QCOMPARE(f.prompts.asked.size(), 1);
    const QRegularExpression question("^question:This prints (\\d+) pages\\. Print them\\?$");
    const QRegularExpressionMatch match = question.match(f.prompts.asked.value(0));
    QVERIFY2(match.hasMatch(), qPrintable(f.prompts.asked.value(0)));
    QVERIFY(match.captured(1).toInt() > 50);
}

QTEST_MAIN(tst_ViewerWindow)
#include "tst_viewerwindow.moc"
