// The totals of the ticked files as a user gets them: files ticked in the main window,
// the File menu's item chosen, the Totals window read through Ctrl+C, closed by key and
// put back where it was.

#include "app/MainWindow.h"
#include "app/TotalsWindow.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "viewer/PointsText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QRegularExpression>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace SettingsNames;

namespace {

// The listed files, in list order: a one-figure file with a member on two lines, a
// two-figure file with a figure that is not a number, an unconverted one-figure file
// (gold, as the first) with a figure shifted out of the record format.
const QStringList kListed{"A.GLD", "B.GAR", "C.MP1(GLD)"};

// A table as copied, written with "|" for tabs, "." for the decimal symbol of points and
// "<mp>" for the masterpoint folder.
QString tableText(const QStringList& lines, const QString& folder = QString()) {
    const QRegularExpression points(QStringLiteral("(\\d)\\.(\\d\\d)\\b"));
    return lines.join('\n')
        .replace('|', '\t')
        .replace(points, "\\1" + QLocale::system().decimalPoint() + "\\2")
        .replace("<mp>", folder);
}

} // namespace

class tst_TotalsWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void totalsTheTickedFiles_data();
    void totalsTheTickedFiles();
    void nothingTickedAsksForTicks();
    void reopeningShowsTheFilesTickedNow();
    void pointsAreExact_data();
    void pointsAreExact();
    void keysCloseTheWindow_data();
    void keysCloseTheWindow();
    void keepsItsPlace_data();
    void keepsItsPlace();
    void sortsFindsAndSavesTheFileRows();
    void savesAsPdf();

private:
    std::unique_ptr<MainWindow> open() {
        store_ = std::make_unique<SettingsStore>(dir_->filePath("settings.ini"));
        auto window = std::make_unique<MainWindow>(prompts_, *store_);
        window->startUp();
        window->show();
        return window;
    }
    // Ticks or unticks an entry as a user does: the row made current, then Space.
    static void toggle(MainWindow& window, const QString& text) {
        auto* list = window.findChild<QListView*>(QStringLiteral("fileList"));
        const int row = kListed.indexOf(text);
        QCOMPARE(list->model()->index(row, 0).data().toString(), text);
        list->setFocus();
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Space);
    }
    // The table as Ctrl+C copies it.
    static QString copied(MainWindow& window) {
        auto* table = window.findChild<TotalsWindow*>()->findChild<QTableView*>("totalsTable");
        QApplication::clipboard()->clear();
        table->setFocus();
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    }
    QString mpFolder() const { return dir_->filePath("mp"); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    ScriptedPrompts prompts_;
};

void tst_TotalsWindow::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(mpFolder()));
    testfiles::write(mpFolder(), "A.GLD", "1234567001250\r\n7654321000075\r\n1234567000100\r\n");
    testfiles::write(mpFolder(), "B.GAR", "1234567001250000300\r\n1111111ABCDEF000100\r\n");
    testfiles::write(mpFolder(), "C.MP1", "2222222000050\r\n3333333 000100\r\n");
    SettingsStore(dir_->filePath("settings.ini")).writeString(Paths, MasterpointFolder, mpFolder());
    prompts_ = ScriptedPrompts();
}

void tst_TotalsWindow::totalsTheTickedFiles_data() {
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("removed"); // after the scan, before the totals
    QTest::addColumn<QStringList>("table");
    const QString header = "File|Records|Members|Not counted|Out of format";
    // 1234567 is in A.GLD and B.GAR: a member of each colour.
    QTest::newRow("gold and two-figure files, each colour summed apart")
        << kListed << QString()
        << QStringList{header + "|Masterpoints 1|Masterpoints 2",
                       "A.GLD|3|2|0|0|14.25|",
                       "B.GAR|2|2|1|0|12.50|3.00",
                       "C.MP1(GLD)|2|2|0|1|0.60|",
                       "All GLD|5|4|0|1|14.85|",
                       "All GAR|2|2|1|0|12.50|3.00"};
    QTest::newRow("one-figure files only: one points column")
        << QStringList{"A.GLD", "C.MP1(GLD)"} << QString()
        << QStringList{header + "|Masterpoints", "A.GLD|3|2|0|0|14.25", "C.MP1(GLD)|2|2|0|1|0.60",
                       "All GLD|5|4|0|1|14.85"};
    QTest::newRow("a ticked file gone: its error, the others summed")
        << kListed << "B.GAR"
        << QStringList{header + "|Masterpoints 1|Masterpoints 2",
                       "A.GLD|3|2|0|0|14.25|",
                       "B.GAR|Cannot open file <mp>/B.GAR",
                       "C.MP1(GLD)|2|2|0|1|0.60|",
                       "All GLD|5|4|0|1|14.85|",
                       "All GAR|0|0|0|0|0.00|0.00"};
}

void tst_TotalsWindow::totalsTheTickedFiles() {
    QFETCH(QStringList, ticked);
    QFETCH(QString, removed);
    QFETCH(QStringList, table);
    auto window = open();
    for (const QString& text : ticked)
        toggle(*window, text);
    if (!removed.isEmpty())
        QVERIFY(QFile::remove(QDir(mpFolder()).filePath(removed)));
    window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
    QVERIFY(prompts_.asked.isEmpty());
    QVERIFY(window->findChild<TotalsWindow*>()->isVisible());
    QCOMPARE(copied(*window), tableText(table, mpFolder()));
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
}

void tst_TotalsWindow::nothingTickedAsksForTicks() {
    auto window = open();
    window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
    QCOMPARE(prompts_.messages(), QStringList{"Tick files to total"});
    QVERIFY(!window->findChild<TotalsWindow*>()->isVisible());
}

// One window, its rows those of the files ticked when it was last asked for.
void tst_TotalsWindow::reopeningShowsTheFilesTickedNow() {
    auto window = open();
    toggle(*window, "B.GAR");
    window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
    TotalsWindow* shown = window->findChild<TotalsWindow*>();
    shown->close();
    toggle(*window, "B.GAR");
    toggle(*window, "C.MP1(GLD)");
    window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
    QCOMPARE(window->findChildren<TotalsWindow*>().size(), 1);
    QVERIFY(shown->isVisible());
    QCOMPARE(copied(*window),
             tableText({"File|Records|Members|Not counted|Out of format|Masterpoints",
                        "C.MP1(GLD)|2|2|0|1|0.60", "All GLD|2|2|0|1|0.60"}));
}

void tst_TotalsWindow::pointsAreExact_data() {
    QTest::addColumn<qint64>("hundredths");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");
    QTest::newRow("zero") << qint64(0) << "0.00"
                          << "0,00";
    QTest::newRow("below one point") << qint64(5) << "0.05"
                                     << "0,05";
    QTest::newRow("grouped") << qint64(123456789) << "1,234,567.89"
                             << "1.234.567,89";
    QTest::newRow("negative, below one point") << qint64(-50) << "-0.50"
                                               << "-0,50";
    QTest::newRow("past what a double holds exactly")
        << qint64(9007199254740993) << "90,071,992,547,409.93"
        << "90.071.992.547.409,93";
    QTest::newRow("most negative")
        << std::numeric_limits<qint64>::min() << "-92,233,720,368,547,758.08"
        << "-92.233.720.368.547.758,08";
}

void tst_TotalsWindow::pointsAreExact() {
    QFETCH(qint64, hundredths);
    QFETCH(QString, english);
    QFETCH(QString, german);
    QCOMPARE(pointsText(hundredths, QLocale(QLocale::English, QLocale::UnitedStates)), english);
    QCOMPARE(pointsText(hundredths, QLocale(QLocale::German, QLocale::Germany)), german);
}

void tst_TotalsWindow::keysCloseTheWindow_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier);
}

void tst_TotalsWindow::keysCloseTheWindow() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    auto window = open();
    toggle(*window, "A.GLD");
    window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
    TotalsWindow* totals = window->findChild<TotalsWindow*>();
    QVERIFY(QTest::qWaitForWindowActive(totals));
    auto* table = totals->findChild<QTableView*>("totalsTable");
    table->setFocus();
    QTest::keyClick(table, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(!totals->isVisible());
    QVERIFY(window->isVisible());
    // Shown again, the same window with the totals asked for now.
    window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
    QVERIFY(totals->isVisible());
}

// The place stored for the window, and where it shows on the next start: on a screen
// that is there, no larger than it.
void tst_TotalsWindow::keepsItsPlace_data() {
    QTest::addColumn<QString>("stored");      // x y width height; empty: as the user left it
    QTest::addColumn<QRect>("expected");      // empty: anywhere on the screen
    QTest::addColumn<bool>("quitWithItOpen"); // the main window closed while it shows
    QTest::newRow("as the user left it") << QString() << QRect(30, 40, 700, 420) << false;
    QTest::newRow("as the user left it at quitting")
        << QString() << QRect(50, 60, 680, 400) << true;
    QTest::newRow("off every screen") << "-5000 -4000 700 420" << QRect() << false;
    QTest::newRow("larger than the screen") << "0 0 90000 90000" << QRect() << false;
}

void tst_TotalsWindow::keepsItsPlace() {
    QFETCH(QString, stored);
    QFETCH(QRect, expected);
    QFETCH(bool, quitWithItOpen);
    const QString ini = dir_->filePath("settings.ini");
    {
        auto window = open();
        toggle(*window, "A.GLD");
        window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
        TotalsWindow* totals = window->findChild<TotalsWindow*>();
        totals->setGeometry(expected.isEmpty() ? QRect(10, 10, 650, 400) : expected);
        if (quitWithItOpen)
            window->close();
        else
            totals->close();
    }
    if (!stored.isEmpty())
        SettingsStore(ini).writeString("Windows", "TotalsWindow", stored);

    auto window = open();
    toggle(*window, "B.GAR");
    window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
    TotalsWindow* totals = window->findChild<TotalsWindow*>();
    QVERIFY(totals->isVisible());
    if (!expected.isEmpty())
        QCOMPARE(totals->geometry(), expected);
    const QRect screen = totals->screen()->availableGeometry();
    const QRect shown = totals->geometry();
    // The frame aside: the stored size is kept within the screen's, not less the frame.
    QVERIFY(screen.contains(shown.topLeft()));
    QVERIFY(shown.width() <= screen.width() && shown.height() <= screen.height());
}

// A header click sorts the file rows with the colour sums kept at the foot; Ctrl+F
// finds a file; Ctrl+S saves the table as shown and says so.
void tst_TotalsWindow::sortsFindsAndSavesTheFileRows() {
    auto window = open();
    for (const QString& name : kListed)
        toggle(*window, name);
    window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
    TotalsWindow* totals = window->findChild<TotalsWindow*>();
    QVERIFY(QTest::qWaitForWindowActive(totals));
    auto* table = totals->findChild<QTableView*>("totalsTable");
    QHeaderView* header = table->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    QStringList files;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        files << table->model()->index(row, 0).data().toString();
    QCOMPARE(files, QStringList({"B.GAR", "C.MP1(GLD)", "A.GLD", "All GLD", "All GAR"}));

    table->setFocus();
    QTest::keyClick(table, Qt::Key_F, Qt::ControlModifier);
    auto* field = totals->findChild<QLineEdit*>("findField");
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, "1");
    QCOMPARE(table->currentIndex().row(), 1);

    const QString path = dir_->filePath("Totals.csv");
    prompts_.saveAnswers = {path};
    QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(totals->findChild<QLabel*>("statusLine")->text(), "Saved 3 lines to " + path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("\xEF\xBB\xBF"
                        "File,Records,Members,Not counted,Out of format,Masterpoints 1,"
                        "Masterpoints 2,Note\r\n"
                        "B.GAR,2,2,1,0,12.50,3.00,\r\n"
                        "C.MP1(GLD),2,2,0,1,0.60,,Includes 0.10 from 1 line out of format\r\n"
                        "A.GLD,3,2,0,0,14.25,,\r\n"
                        "All GLD,5,4,0,1,14.85,,Includes 0.10 from 1 line out of format\r\n"
                        "All GAR,2,2,1,0,12.50,3.00,\r\n"));
}

// Save as PDF: the folder in the head, an error standing whole where a file's figures
// would, a marked sum keeping its mark as a character and its reason in the legend.
void tst_TotalsWindow::savesAsPdf() {
    auto window = open();
    for (const QString& name : kListed)
        toggle(*window, name);
    QVERIFY(QFile::remove(QDir(mpFolder()).filePath("B.GAR")));
    window->findChild<QAction*>(QStringLiteral("totalsAction"))->trigger();
    auto* totals = window->findChild<TotalsWindow*>();
    const QString path = dir_->filePath("Totals.pdf");
    prompts_.saveAnswers = {path};
    totals->findChild<QAction*>(QStringLiteral("savePdfAction"))->trigger();
    QCOMPARE(totals->findChild<QLabel*>("statusLine")->text(), "Saved 1 page to " + path);
    const QString read = testfiles::pdfText(path);
    qsizetype at = 0;
    for (const QString& part : QStringList{
             "Totals", mpFolder(), "Masterpoints 2", "Cannot open file " + mpFolder() + "/B.GAR",
             "All GLD", "14.85 *", "* Includes 0.10 from 1 line out of format", "Page 1 of 1"}) {
        at = read.indexOf(part, at);
        QVERIFY2(at >= 0, qPrintable(part + " not found in order in:\n" + read));
    }
}

QTEST_MAIN(tst_TotalsWindow)
#include "tst_totalswindow.moc"
