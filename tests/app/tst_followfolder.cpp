// The list following its folder, in the real window over a real folder, while files are
// written into it: arrivals, departures and renames listed with the ticks kept, a file
// written slowly listed once whole, a folder that goes and comes back, and a viewer
// whose file changed read again at F5.

#include "app/MainWindow.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "viewer/ViewerGrid.h"
#include "viewer/ViewerWindow.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace SettingsNames;

namespace {

constexpr int kListedWithinMs = 5000;

QByteArray records(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray::number(1000000 + i) + "000100\r\n";
    return bytes;
}

} // namespace

class tst_FollowFolder : public QObject {
    Q_OBJECT

private slots:
    void init();
    void listFollowsTheFolder_data();
    void listFollowsTheFolder();
    void slowlyWrittenFileListedOnceWhole();
    void viewerReadsItsChangedFileAgain_data();
    void viewerReadsItsChangedFileAgain();

private:
    std::unique_ptr<MainWindow> open(bool convert = false) {
        store_->writeString(Paths, MasterpointFolder, mp());
        store_->writeBool(Options, ConvertExtensions, convert);
        auto window = std::make_unique<MainWindow>(prompts_, *store_);
        window->show();
        window->startUp();
        return window;
    }
    static QListView* list(const MainWindow& window) {
        return window.findChild<QListView*>(QStringLiteral("fileList"));
    }
    // The entries as shown, a ticked one with a "+" before it.
    static QStringList shown(const MainWindow& window) {
        QStringList out;
        const QAbstractItemModel* model = list(window)->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            out << (ticked ? "+" : "") + index.data().toString();
        }
        return out;
    }
    static QString status(const MainWindow& window) {
        return window.findChild<QLabel*>(QStringLiteral("statusText"))->text();
    }
    static void tick(MainWindow& window, int row) {
        QAbstractItemModel* model = list(window)->model();
        model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
    }
    QString mp() const { return dir_->filePath(QStringLiteral("mp")); }
    QString at(const QString& name) const { return QDir(mp()).filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    ScriptedPrompts prompts_;
};

void tst_FollowFolder::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(mp()));
    store_ = std::make_unique<SettingsStore>(dir_->filePath(QStringLiteral("settings.ini")));
    prompts_ = ScriptedPrompts();
}

enum class Change { Arrive, ArriveConverted, Refresh, Depart, Rename, NotOurs, FolderAway };
Q_DECLARE_METATYPE(Change)

// Guards the list following the folder: an arrival missed or listed out of name order,
// ticks lost, a rename taken for a new file (its tick lost), our own temporary or a file
// that is not a masterpoint file listed, a conversion not made, Refresh asking for the
// folder or waiting, and a drive pulled out emptying the list.
void tst_FollowFolder::listFollowsTheFolder_data() {
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("said");
    QTest::newRow("arrival") << Change::Arrive << QStringList{"A.GLD", "B.MP1(GLD)", "+C.GLD"}
                             << "B.MP1(GLD) added";
    QTest::newRow("converted on arrival")
        << Change::ArriveConverted << QStringList{"A.GLD", "B.GLD", "+C.GLD"}
        << "B.MP1 arrived and was converted to B.GLD";
    QTest::newRow("refresh lists at once, asking nothing")
        << Change::Refresh << QStringList{"A.GLD", "B.MP1(GLD)", "+C.GLD"} << "B.MP1(GLD) added";
    QTest::newRow("departure") << Change::Depart << QStringList{"+C.GLD"} << "A.GLD removed";
    QTest::newRow("rename keeps the tick")
        << Change::Rename << QStringList{"A.GLD", "+D.GLD"} << "C.GLD renamed to D.GLD";
    QTest::newRow("temporaries and others not listed")
        << Change::NotOurs << QStringList{"A.GLD", "+C.GLD", "D.GLD"} << "D.GLD added";
    QTest::newRow("folder away and back") << Change::FolderAway << QStringList{"A.GLD", "+C.GLD"}
                                          << QString(); // said of the test's own folder
}

void tst_FollowFolder::listFollowsTheFolder() {
    QFETCH(Change, change);
    QFETCH(QStringList, listed);
    QFETCH(QString, said);
    testfiles::write(mp(), "A.GLD", records(2));
    testfiles::write(mp(), "C.GLD", records(3));
    auto window = open(change == Change::ArriveConverted);
    QCOMPARE(shown(*window), (QStringList{"A.GLD", "C.GLD"}));
    tick(*window, 1);
    switch (change) {
    case Change::Arrive:
    case Change::ArriveConverted:
        testfiles::write(mp(), "B.MP1", records(4));
        break;
    case Change::Refresh:
        testfiles::write(mp(), "B.MP1", records(4));
        window->findChild<QAction*>(QStringLiteral("refreshAction"))->trigger();
        QCOMPARE(status(*window), said); // not waiting for it to settle: the user asked
        break;
    case Change::Depart:
        QVERIFY(QFile::remove(at("A.GLD")));
        break;
    case Change::Rename:
        QVERIFY(QFile::rename(at("C.GLD"), at("D.GLD")));
        break;
    case Change::NotOurs:
        testfiles::write(mp(), ".mpmgr-merge-abcdefghijkl.partial", records(2));
        testfiles::write(mp(), "E.GLD", "not a masterpoint file");
        testfiles::write(mp(), "D.GLD", records(1)); // last: when it is listed, all are seen
        break;
    case Change::FolderAway: {
        const QString away = mp() + ".away";
        QVERIFY(QDir().rename(mp(), away));
        QTRY_COMPARE_WITH_TIMEOUT(status(*window),
                                  "The masterpoint folder " + mp() + " is not there any more",
                                  kListedWithinMs);
        QCOMPARE(shown(*window), (QStringList{"A.GLD", "+C.GLD"})); // kept, greyed
        QVERIFY(!(list(*window)->model()->flags(list(*window)->model()->index(0, 0)) &
                  Qt::ItemIsEnabled));
        QVERIFY(QDir().rename(away, mp()));
        said = "The masterpoint folder " + mp() + " is back";
        // Polled while away: back within the poll's time.
        QTRY_COMPARE_WITH_TIMEOUT(status(*window), said, 8000);
        QVERIFY(list(*window)->model()->flags(list(*window)->model()->index(0, 0)) &
                Qt::ItemIsEnabled);
        break;
    }
    }
    QTRY_COMPARE_WITH_TIMEOUT(status(*window), said, kListedWithinMs);
    QCOMPARE(shown(*window), listed);
    QVERIFY(prompts_.asked.isEmpty());
}

// Guards a file being written being listed half-written, or listed twice as it grows:
// written a record at a time for over two seconds, it is listed once, whole.
void tst_FollowFolder::slowlyWrittenFileListedOnceWhole() {
    auto window = open();
    QVERIFY(shown(*window).isEmpty());
    QFile file(at("SLOW.GLD"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    constexpr int kRecords = 12;
    const QByteArray whole = records(kRecords);
    QList<qint64> sizesWhenListed;
    connect(list(*window)->model(), &QAbstractItemModel::rowsInserted, this,
            [&] { sizesWhenListed << QFileInfo(file.fileName()).size(); });
    int written = 0;
    QTimer writer;
    connect(&writer, &QTimer::timeout, this, [&] {
        file.write(whole.mid(written * 15, 15));
        file.flush();
        if (++written == kRecords) {
            writer.stop();
            file.close();
        }
    });
    writer.start(200);
    QTRY_COMPARE_WITH_TIMEOUT(shown(*window), QStringList{"SLOW.GLD"}, 10000);
    QCOMPARE(written, kRecords);
    QCOMPARE(sizesWhenListed, QList<qint64>{whole.size()});
    QCOMPARE(status(*window), QStringLiteral("SLOW.GLD added"));
}

// Guards a viewer silently showing a file that has changed or gone, reading it again
// without the user's word, and F5 losing where the user was.
void tst_FollowFolder::viewerReadsItsChangedFileAgain_data() {
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QString>("note");
    QTest::newRow("changed") << false
                             << "This file has changed since it was opened: press F5 to read it "
                                "again";
    QTest::newRow("removed") << true << "This file has been removed";
}

void tst_FollowFolder::viewerReadsItsChangedFileAgain() {
    QFETCH(bool, removed);
    QFETCH(QString, note);
    testfiles::write(mp(), "A.GLD", records(3));
    auto window = open();
    tick(*window, 0);
    window->findChild<QPushButton*>(QStringLiteral("viewButton"))->click();
    auto* viewer = window->findChild<ViewerWindow*>();
    QVERIFY(viewer);
    auto* grid = viewer->findChild<ViewerGrid*>(QStringLiteral("grid"));
    grid->setCurrentIndex(grid->model()->index(1, 1));
    if (removed)
        QVERIFY(QFile::remove(at("A.GLD")));
    else
        testfiles::write(mp(), "A.GLD", records(5));
    auto noteShown = [viewer] {
        auto* label = viewer->findChild<QLabel*>(QStringLiteral("fileNote"));
        return label && label->isVisible() ? label->text() : QString();
    };
    QTRY_COMPARE_WITH_TIMEOUT(noteShown(), note, kListedWithinMs);
    QCOMPARE(grid->model()->rowCount(), 3); // nothing read without the user's word
    QTest::keyClick(viewer, Qt::Key_F5);
    if (removed) {
        QCOMPARE(prompts_.errors().size(), 1); // "Cannot open file", said once
        QCOMPARE(grid->model()->rowCount(), 3);
        return;
    }
    QCOMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(grid->currentIndex().column(), 1);
    QCOMPARE(noteShown(), QString());
}

QTEST_MAIN(tst_FollowFolder)
#include "tst_followfolder.moc"
