// Viewer window: layouts, cells, totals, the status line, marks, copying and closing,
// driven as a user would.

#include "viewer/TotalField.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerModel.h"
#include "viewer/ViewerWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// A totals text written with "." shown with the system's decimal symbol.
QString totalText(QString text) {
    return text.replace('.', QLocale::system().decimalPoint());
}

// A main window with one viewer, fed from a file written in a folder of its own.
struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    QPointer<ViewerWindow> viewer = new ViewerWindow(owner.get());

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
    QTableView* grid() const { return viewer->grid(); }
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
    void placesTheDesignControls();
    void statusLineCountsRecords_data();
    void statusLineCountsRecords();
    void f8WalksTheMarksAndWraps();
    void copiesTheSelectedRange();
    void closingHidesAndKeepsTheWindow();
    void answersForAMillionLines();
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
    QCOMPARE(f.viewer->frameGeometry().size(), QSize(twoFigures ? 333 : 233, 480));

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

    TotalField* field2 = f.viewer->secondTotal();
    QCOMPARE(f.viewer->firstTotal()->text(), totalText(total1));
    QCOMPARE(field2->isVisible(), twoFigures);
    if (twoFigures)
        QCOMPARE(field2->text(), totalText(total2));
}

void tst_ViewerWindow::placesTheDesignControls() {
    Fixture f;
    f.show("1234567001250000300", true);
    QCOMPARE(f.viewer->totalsPanel()->geometry(), QRect(0, 0, f.viewer->width(), 41));
    QCOMPARE(f.viewer->closeButton()->geometry(), QRect(10, 10, 75, 25));
    QCOMPARE(f.viewer->closeButton()->text(), QString("Close"));
    QCOMPARE(f.viewer->totalLabel()->pos(), QPoint(88, 16));
    QCOMPARE(f.viewer->totalLabel()->text(), QString("Total"));
    QCOMPARE(f.viewer->firstTotal()->geometry(), QRect(117, 11, 81, 21));
    QCOMPARE(f.viewer->secondTotal()->geometry(), QRect(213, 11, 81, 21));

    // The status line takes its height from the grid, at the bottom of the window.
    const QRect status = f.viewer->statusBar()->geometry();
    QCOMPARE(status.bottom(), f.viewer->height() - 1);
    QTableView* grid = f.grid();
    QCOMPARE(grid->geometry(), QRect(0, 41, f.viewer->width(), status.top() - 41));
    QCOMPARE(grid->rowHeight(0), 24);
    QCOMPARE(grid->columnWidth(2), 100);
    QVERIFY(grid->verticalHeader()->isHidden());
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void tst_ViewerWindow::statusLineCountsRecords_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("twoFigures");
    QTest::addColumn<QString>("status");
    const QLocale locale = QLocale::system();
    QTest::newRow("empty file") << QByteArray() << false << "0 records";
    QTest::newRow("one record") << QByteArray("1234567001250\r\n") << false << "1 record";
    QTest::newRow("a thousand records, grouped") << QByteArray("1234567001250\n").repeated(1000)
                                                 << false << locale.toString(1000) + " records";
    // Out of the format but counted: a sign, blanks before the figure, a long line.
    QTest::newRow("problems") << QByteArray("1234567ABCDEF\n\n1234567+01250\n1234567   125\n"
                                            "12345670012500\n1234567125   \n")
                              << false << "6 records, 3 not counted";
    QTest::newRow("one bad figure of two")
        << QByteArray("123456700050000A100\n1234567001250000300\n1234567001250\n") << true
        << "3 records, 2 not counted";
}

void tst_ViewerWindow::statusLineCountsRecords() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, twoFigures);
    QFETCH(QString, status);
    Fixture f;
    f.show(bytes, twoFigures);
    QVERIFY(f.viewer->statusLine()->isVisible());
    QCOMPARE(f.viewer->statusLine()->text(), status);
    QCOMPARE(f.viewer->frameGeometry().size(), QSize(twoFigures ? 333 : 233, 480));
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
    f.viewer->closeButton()->setFocus();
    const QString notANumber = "Not a number: not counted in the total";
    const QString notARecord = "Not a 19-digit record";
    const struct {
        int row, column;
        QString reason;
    } stops[] = {{1, 2, notANumber}, {3, 0, notARecord}, {4, 1, notANumber},
                 {4, 2, notANumber}, {1, 2, notANumber}, {3, 0, notARecord}};
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

void tst_ViewerWindow::closingHidesAndKeepsTheWindow() {
    Fixture f;
    f.show("1234567001250", false);
    QVERIFY(QTest::qWaitForWindowExposed(f.viewer));
    QTest::mouseClick(f.viewer->closeButton(), Qt::LeftButton);
    QVERIFY(!f.viewer->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(f.viewer);

    f.viewer->restoreAndRaise();
    QVERIFY(f.viewer->isVisible());
    QVERIFY(f.viewer->close()); // the close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(f.viewer && !f.viewer->isVisible());

    f.viewer->showMinimized();
    f.viewer->restoreAndRaise();
    QVERIFY(f.viewer->isVisible());
    QVERIFY(!(f.viewer->windowState() & Qt::WindowMinimized));
    QCOMPARE(f.cell(0, 1), QString("0012.50"));
    QCOMPARE(f.viewer->firstTotal()->text(), totalText("    12.50"));

    f.owner.reset(); // the owner takes its viewers with it
    QVERIFY(!f.viewer);
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
    auto* viewer = new ViewerWindow(&owner);
    viewer->showFile("BIG.GLD", mp::LineList::fromBytes(bytes), false);
    QTableView* grid = viewer->grid();
    grid->scrollToBottom();
    QCOMPARE(grid->model()->rowCount(), count);
    QCOMPARE(viewer->firstTotal()->text(), totalText("12499988.25"));
}

QTEST_MAIN(tst_ViewerWindow)
#include "tst_viewerwindow.moc"
