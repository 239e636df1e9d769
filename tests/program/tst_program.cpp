// The installed program as a user meets it: the executable's command line, run with no
// display at all, the sample month it starts on, and the window icon it carries.

#include "app/MainWindow.h"
#include "app/QtPrompts.h"
#include "app/SampleMonth.h"
#include "app/WindowIcon.h"
#include "settings/SettingsStore.h"

#include <QListView>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

class ProgramTest : public QObject {
    Q_OBJECT

    QTemporaryDir config_;
    QTemporaryDir temporary_;

    // Starts mpmgr without any display, with settings of its own in configHome and a
    // temporary folder of its own; waits `waitMs`.
    Run run(const QStringList& arguments, int waitMs = 30000,
            const QString& configHome = QString()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           configHome.isEmpty() ? config_.path() : configHome);
        environment.insert(QStringLiteral("TMPDIR"), temporary_.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(MPMGR_EXECUTABLE), arguments);
        Run result;
        if (!process.waitForStarted())
            return result;
        result.finished = process.waitForFinished(waitMs);
        if (!result.finished) {
            process.kill();
            process.waitForFinished();
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

private slots:
    void helpNamesEveryOption_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("long") << QStringLiteral("--help");
        QTest::newRow("short") << QStringLiteral("-h");
    }
    void helpNamesEveryOption() {
        QFETCH(QString, option);
        const Run help = run({option});
        QVERIFY(help.finished);
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith(QStringLiteral("Usage: ")), qPrintable(help.out));
        for (const char* named : {"--help", "--version", "-v", "--sample"})
            QVERIFY2(help.out.contains(QLatin1String(named)), named);
        // Qt's own options pass through, unlisted.
        QVERIFY(!help.out.contains(QStringLiteral("-platform ")));
        QCOMPARE(help.err, QString());
    }

    void versionIsTheProjectVersion_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("long") << QStringLiteral("--version");
        QTest::newRow("short") << QStringLiteral("-v");
    }
    void versionIsTheProjectVersion() {
        QFETCH(QString, option);
        const Run version = run({option});
        QVERIFY(version.finished);
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("mpmgr " MPMGR_VERSION "\n"));
        QCOMPARE(version.err, QString());
    }

    void wrongUseIsAnErrorOnStandardError_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::newRow("unknown long option") << QStringList{"--frobnicate"} << "frobnicate";
        QTest::newRow("unknown short option") << QStringList{"-x"} << "'x'";
        QTest::newRow("option after a good one") << QStringList{"--version", "--nope"} << "nope";
        QTest::newRow("Qt option without its value") << QStringList{"-style"} << "style";
        QTest::newRow("file argument") << QStringList{"CLUB0612.GLD"} << "CLUB0612.GLD";
    }
    void wrongUseIsAnErrorOnStandardError() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        const Run wrong = run(arguments);
        QVERIFY(wrong.finished);
        QCOMPARE(wrong.exitCode, 2);
        QCOMPARE(wrong.out, QString());
        QVERIFY2(wrong.err.startsWith(QStringLiteral("mpmgr: ")), qPrintable(wrong.err));
        QVERIFY2(wrong.err.contains(named), qPrintable(wrong.err));
        QVERIFY2(wrong.err.contains(QStringLiteral("--help")), qPrintable(wrong.err));
    }

    // With one of Qt's own options the window opens and stays open: still running after
    // a few seconds, having printed no complaint.
    void qtOptionsReachTheWindow() {
        const Run window = run({QStringLiteral("-platform"), QStringLiteral("offscreen")}, 3000);
        QVERIFY2(!window.finished, qPrintable(window.err));
        QVERIFY2(!window.err.contains(QStringLiteral("mpmgr:")), qPrintable(window.err));
    }

    // The sample month is listed as a club's month: every masterpoint file, numbered ones
    // with their colour, not the note. The program started on it reads and writes
    // nothing in the user's configuration folder.
    void sampleListsItsFilesAndLeavesTheUserSettingsAlone() {
        qputenv("TMPDIR", temporary_.path().toLocal8Bit());
        SampleMonth month;
        SettingsStore store(month.settingsLocation());
        QtPrompts prompts(store);
        MainWindow window(prompts, store);
        window.showAndStartUp();
        const QAbstractItemModel* list = window.findChild<QListView*>("fileList")->model();
        QTRY_COMPARE(list->rowCount(), 12);
        QStringList listed;
        for (int row = 0; row < list->rowCount(); ++row)
            listed << list->index(row, 0).data().toString();
        for (const char* name : {"CLUB0602.GLD", "CLUB0613.MP1(GLD)", "CLUB0614.GAR",
                                 "club0615.MP2(RED)", "CLUB0623.GRN", "Club612.GLD"})
            QVERIFY2(listed.contains(QLatin1String(name)), name);
        QVERIFY(!listed.contains(QStringLiteral("CLUB0620.RED")));

        QTemporaryDir userConfig;
        const QString userSettings = userConfig.filePath("Kavra_Masterpoint_files.ini");
        const QByteArray stored = "[paths]\nQuillet=/nowhere\n";
        QFile file(userSettings);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(stored) == stored.size());
        file.close();
        const Run sample = run({"--sample", "-platform", "offscreen"}, 3000, userConfig.path());
        QVERIFY2(!sample.finished, qPrintable(sample.err));
        const QString folder = sample.out.section(QStringLiteral(" is in "), 1).section(';', 0, 0);
        QVERIFY2(folder.startsWith(temporary_.path()), qPrintable(sample.out));
        QVERIFY(QFileInfo(folder + "/MP/CLUB0613.MP1").isFile());
        QCOMPARE(QDir(userConfig.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"Kavra_Masterpoint_files.ini"});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), stored);
    }

    void windowIconHasEverySizeItNames() {
        const QIcon icon = mpmgrWindowIcon();
        QVERIFY(!icon.availableSizes().isEmpty());
        for (const QSize& size : icon.availableSizes()) {
            const QPixmap pixmap = icon.pixmap(size);
            QVERIFY2(!pixmap.isNull(), qPrintable(QString::number(size.width())));
            QCOMPARE(pixmap.size(), size);
        }
    }
};

} // namespace

QTEST_MAIN(ProgramTest)
#include "tst_program.moc"
