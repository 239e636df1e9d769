// The totals of the ticked files as a user gets them: files ticked in the main window,
// the File menu's item chosen, the Totals window read through Ctrl+C.

#include "app/MainWindow.h"
#include "app/TotalsWindow.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QListView>
#include <QLocale>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace SettingsNames;

namespace {

// The listed files, in list order: a one-figure file with a member on two lines, a
// two-figure file with a figure that is not a number, an unconverted one-figure file.
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
        QTableWidget* table = window.findChild<TotalsWindow*>()->table();
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
    testfiles::write(mpFolder(), "C.MP1", "2222222000050\r\n");
    SettingsStore(dir_->filePath("settings.ini")).writeString(Paths, MasterpointFolder, mpFolder());
    prompts_ = ScriptedPrompts();
}

void tst_TotalsWindow::totalsTheTickedFiles_data() {
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QString>("removed"); // after the scan, before the totals
    QTest::addColumn<QStringList>("table");
    const QString header = "File|Records|Members|Not counted|Masterpoints";
    // 1234567 is in A.GLD and B.GAR: one member of All files.
    QTest::newRow("three files, one of two figures")
        << kListed << QString()
        << QStringList{header + "|Masterpoints", "A.GLD|3|2|0|14.25|", "B.GAR|2|2|1|12.50|3.00",
                       "C.MP1(GLD)|1|1|0|0.50|", "All files|6|4|1|27.25|3.00"};
    QTest::newRow("one-figure files only: one points column")
        << QStringList{"A.GLD", "C.MP1(GLD)"} << QString()
        << QStringList{header, "A.GLD|3|2|0|14.25", "C.MP1(GLD)|1|1|0|0.50",
                       "All files|4|3|0|14.75"};
    QTest::newRow("a ticked file gone: its error, the others summed")
        << kListed << "B.GAR"
        << QStringList{header + "|Masterpoints", "A.GLD|3|2|0|14.25|",
                       "B.GAR|Cannot open file <mp>/B.GAR", "C.MP1(GLD)|1|1|0|0.50|",
                       "All files|4|3|0|14.75|0.00"};
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
    QCOMPARE(copied(*window), tableText({"File|Records|Members|Not counted|Masterpoints",
                                         "C.MP1(GLD)|1|1|0|0.50", "All files|1|1|0|0.50"}));
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
    QCOMPARE(TotalsWindow::pointsText(hundredths, QLocale(QLocale::English, QLocale::UnitedStates)),
             english);
    QCOMPARE(TotalsWindow::pointsText(hundredths, QLocale(QLocale::German, QLocale::Germany)),
             german);
}

QTEST_MAIN(tst_TotalsWindow)
#include "tst_totalswindow.moc"
