// One member across the month's files and the list's ticks, as a user gets them: ticks
// by key and by the list's menu, File > Find member..., the number typed, Enter to the
// line's viewer, and the table saved as PDF, read back as a PDF reader reads it.

#include "app/MainWindow.h"
#include "app/MemberWindow.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerWindow.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace SettingsNames;

namespace {

// In list order: gold, red, gold again (numbered), two-figure.
const QStringList kListed{"A.GLD", "B.RED", "C.MP1(GLD)", "D.GAR"};

} // namespace

class tst_MemberWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void ticksByKeyAndColour_data();
    void ticksByKeyAndColour();
    void tipCountsTheRecords();
    void findsTheMemberInTheFilesSearched_data();
    void findsTheMemberInTheFilesSearched();
    void enterOpensTheLineInItsViewer();
    void savesAsPdf_data();
    void savesAsPdf();
    void sortsFindsAndSavesAsCsv();

private:
    std::unique_ptr<MainWindow> open() {
        store_ = std::make_unique<SettingsStore>(dir_->filePath("settings.ini"));
        auto window = std::make_unique<MainWindow>(prompts_, *store_);
        window->startUp();
        window->show();
        return window;
    }
    static QListView* list(MainWindow& window) {
        return window.findChild<QListView*>(QStringLiteral("fileList"));
    }
    static QStringList ticked(MainWindow& window) {
        QStringList ticked;
        QAbstractItemModel* model = list(window)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked)
                ticked << model->index(row, 0).data().toString();
        return ticked;
    }
    // The Member window over the files searched, with number typed.
    static MemberWindow* find(MainWindow& window, const QString& number) {
        window.findChild<QAction*>(QStringLiteral("findMemberAction"))->trigger();
        auto* member = window.findChild<MemberWindow*>();
        auto* field = member->findChild<QLineEdit*>(QStringLiteral("memberNumber"));
        field->clear();
        QTest::keyClicks(field, number);
        return member;
    }
    // The table's rows as shown, cells joined by "|".
    static QStringList rows(MemberWindow& member) {
        QAbstractItemModel* model =
            member.findChild<QTableView*>(QStringLiteral("memberTable"))->model();
        QStringList rows;
        for (int row = 0; model != nullptr && row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            rows << cells.join('|');
        }
        return rows;
    }
    QString mpFolder() const { return dir_->filePath("mp"); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    ScriptedPrompts prompts_;
};

void tst_MemberWindow::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(mpFolder()));
    testfiles::write(mpFolder(), "A.GLD", "5651303001250\r\n1111111000100\r\n5651303000050\r\n");
    testfiles::write(mpFolder(), "B.RED", "5651303000500\r\n");
    testfiles::write(mpFolder(), "C.MP1", "1111111000100\r\n5651303 000100\r\n");
    testfiles::write(mpFolder(), "D.GAR", "1111111000100000200\r\n");
    SettingsStore(dir_->filePath("settings.ini")).writeString(Paths, MasterpointFolder, mpFolder());
    prompts_ = ScriptedPrompts();
}

void tst_MemberWindow::ticksByKeyAndColour_data() {
    QTest::addColumn<QStringList>("steps"); // keys, or the list menu's item by colour
    QTest::addColumn<QStringList>("ticked");
    // Guards: a key that selects rows instead of ticking them, a numbered entry left out
    // of its colour, a colour's item that unticks the others.
    QTest::newRow("Ctrl+A ticks all") << QStringList{"Ctrl+A"} << kListed;
    QTest::newRow("Ctrl+Shift+A ticks none")
        << QStringList{"Ctrl+A", "Ctrl+Shift+A"} << QStringList{};
    QTest::newRow("a colour ticks its numbered entries too")
        << QStringList{"GLD"} << QStringList{"A.GLD", "C.MP1(GLD)"};
    QTest::newRow("colours add up") << QStringList{"GAR", "RED"} << QStringList{"B.RED", "D.GAR"};
}

void tst_MemberWindow::ticksByKeyAndColour() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, ticked);
    auto window = open();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QListView* view = list(*window);
    view->setFocus();
    for (const QString& step : steps) {
        if (step.startsWith("Ctrl")) {
            QTest::keySequence(view, QKeySequence(step));
            continue;
        }
        // What the window system makes of the menu key.
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(2, 2),
                              view->viewport()->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(view->viewport(), &key);
        QMenu* menu = nullptr;
        QTRY_VERIFY((menu = view->findChild<QMenu*>(QStringLiteral("fileListMenu"))) != nullptr);
        menu->findChild<QAction*>("tickColourAction" + step, Qt::FindDirectChildrenOnly)->trigger();
        menu->close();
        delete menu;
    }
    QCOMPARE(this->ticked(*window), ticked);
}

// Guards: the count made by the scan (its speed) or not at all; a tip read anew at
// every hover once the file is gone.
void tst_MemberWindow::tipCountsTheRecords() {
    auto window = open();
    const QModelIndex first = list(*window)->model()->index(0, 0);
    QVERIFY(first.data(Qt::ToolTipRole).toString().endsWith(", 3 records"));
    QVERIFY(QFile::remove(QDir(mpFolder()).filePath("A.GLD")));
    QVERIFY(first.data(Qt::ToolTipRole).toString().endsWith(", 3 records"));
    QVERIFY(list(*window)
                ->model()
                ->index(1, 0)
                .data(Qt::ToolTipRole)
                .toString()
                .endsWith(", 1 record"));
}

void tst_MemberWindow::findsTheMemberInTheFilesSearched_data() {
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("status");
    // Guards: the unticked files searched while some are ticked, none searched while
    // none is, colours summed together, a number not yet whole searched for.
    QTest::newRow("none ticked: every listed file")
        << QStringList{} << "5651303"
        << QStringList{"A.GLD|1|12.50|",     "A.GLD|3|0.50|",   "B.RED|1|5.00|",
                       "C.MP1(GLD)|2|0.10|", "All GLD||13.10|", "All RED||5.00|"}
        << "Member 5651303: 4 lines in 3 of the 4 files";
    QTest::newRow("only the ticked files") << QStringList{"B.RED", "D.GAR"} << "5651303"
                                           << QStringList{"B.RED|1|5.00|", "All RED||5.00|"}
                                           << "Member 5651303: 1 line in 1 of the 2 files";
    QTest::newRow("in none of the files") << QStringList{"D.GAR"} << "5651304" << QStringList{}
                                          << "Member 5651304 is not in the 1 file";
    QTest::newRow("six digits find nothing yet")
        << QStringList{} << "565130" << QStringList{}
        << "Type the seven digits of a member number to find its lines in the 4 files";
}

void tst_MemberWindow::findsTheMemberInTheFilesSearched() {
    QFETCH(QStringList, ticked);
    QFETCH(QString, number);
    QFETCH(QStringList, rows);
    QFETCH(QString, status);
    auto window = open();
    QAbstractItemModel* model = list(*window)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (ticked.contains(model->index(row, 0).data().toString()))
            model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
    MemberWindow* member = find(*window, number);
    QVERIFY(member->isVisible());
    QCOMPARE(this->rows(*member), rows);
    QCOMPARE(member->findChild<QLabel*>(QStringLiteral("memberStatus"))->text(), status);
}

// Guards: the viewer opened at its first line, or the line counted among the member's
// lines instead of the file's.
void tst_MemberWindow::enterOpensTheLineInItsViewer() {
    auto window = open();
    MemberWindow* member = find(*window, "5651303");
    auto* table = member->findChild<QTableView*>(QStringLiteral("memberTable"));
    table->setFocus();
    table->setCurrentIndex(table->model()->index(1, 0));
    QTest::keyClick(table, Qt::Key_Return);
    ViewerWindow* viewer = nullptr;
    QTRY_VERIFY((viewer = window->findChild<ViewerWindow*>()) != nullptr);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("A.GLD"));
    QCOMPARE(viewer->findChild<ViewerGrid*>()->currentIndex().row(), 2);
}

void tst_MemberWindow::savesAsPdf_data() {
    QTest::addColumn<bool>("existing");    // a file of that name is there first
    QTest::addColumn<bool>("replace");     // the answer to replacing it
    QTest::addColumn<QStringList>("text"); // found in the PDF, in this order; none: kept
    const QStringList pdf{"Member 5651303",
                          "File",
                          "Line",
                          "Masterpoints",
                          "C.MP1(GLD)",
                          "0.10 *",
                          "All GLD",
                          "13.10",
                          "* Counted in the total, but this line is not a 13-digit record",
                          "Page 1 of 1"};
    // Guards: the page head or foot left out, a mark kept only as a shade (lost on a
    // black-and-white printer), a file replaced without asking or written in place.
    QTest::newRow("new file") << false << false << pdf;
    QTest::newRow("replacing, when told to") << true << true << pdf;
    QTest::newRow("kept, when told not to") << true << false << QStringList{};
}

void tst_MemberWindow::savesAsPdf() {
    QFETCH(bool, existing);
    QFETCH(bool, replace);
    QFETCH(QStringList, text);
    const QString path = dir_->filePath("out/Member 5651303.pdf");
    QVERIFY(QDir().mkpath(dir_->filePath("out")));
    if (existing)
        testfiles::write(dir_->filePath("out"), "Member 5651303.pdf", "old");
    auto window = open();
    store_->writeString(Paths, SaveFolder, dir_->filePath("out"));
    MemberWindow* member = find(*window, "5651303");
    prompts_.saveAnswers = {path};
    prompts_.yesNoAnswers = {replace};
    member->findChild<QAction*>(QStringLiteral("savePdfAction"))->trigger();
    QCOMPARE(prompts_.asked.value(0), "save:" + path);
    if (text.isEmpty()) {
        QCOMPARE(testfiles::read(path), QByteArray("old"));
        return;
    }
    QCOMPARE(member->findChild<QLabel*>(QStringLiteral("memberDone"))->text(),
             "Saved 1 page to " + path);
    const QString read = testfiles::pdfText(path);
    qsizetype at = 0;
    for (const QString& part : text) {
        at = read.indexOf(part, at);
        QVERIFY2(at >= 0, qPrintable(part + " not found in order in:\n" + read));
    }
}

// Guards: the sort, the find bar or Save as CSV missing from this window, the sums
// sorted among the lines, the CSV in another order than shown.
void tst_MemberWindow::sortsFindsAndSavesAsCsv() {
    auto window = open();
    MemberWindow* member = find(*window, "5651303");
    QVERIFY(QTest::qWaitForWindowExposed(member));
    auto* table = member->findChild<QTableView*>(QStringLiteral("memberTable"));
    QHeaderView* header = table->horizontalHeader();
    for (int click = 0; click < 2; ++click) // largest first
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    QCOMPARE(rows(*member),
             QStringList({"A.GLD|1|12.50|", "B.RED|1|5.00|", "A.GLD|3|0.50|", "C.MP1(GLD)|2|0.10|",
                          "All GLD||13.10|", "All RED||5.00|"}));
    table->setFocus();
    QTest::keyClick(table, Qt::Key_F, Qt::ControlModifier);
    auto* field = member->findChild<QLineEdit*>(QStringLiteral("findField"));
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, "1"); // only C.MP1(GLD) has a digit in its name
    QCOMPARE(table->currentIndex().row(), 3);

    const QString path = dir_->filePath("Member 5651303.csv");
    store_->writeString(Paths, SaveFolder, dir_->path());
    prompts_.saveAnswers = {path};
    QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(prompts_.asked.value(0), "save:" + path);
    QCOMPARE(testfiles::read(path).split('\n').mid(1, 4),
             QList<QByteArray>({"A.GLD,1,12.50,,\r", "B.RED,1,5.00,,\r", "A.GLD,3,0.50,,\r",
                                "C.MP1(GLD),2,0.10,,\"Counted in the total, but this line is not "
                                "a 13-digit record\"\r"}));
}

QTEST_MAIN(tst_MemberWindow)
#include "tst_memberwindow.moc"
