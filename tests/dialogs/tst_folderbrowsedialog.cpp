// The folder browse dialog, answered as a user would answer the real dialog.

#include "dialogs/FolderBrowseDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

class tst_FolderBrowseDialog : public QObject {
    Q_OBJECT

private slots:
    void runAnswersWithTheFolder_data();
    void runAnswersWithTheFolder();
};

namespace {

// What the test saw of the dialog while it was open.
struct Seen {
    QString title;
    QString instruction;
    QString directory;
    QWidget* parent = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
    bool foldersOnly = false;
};

// Waits for the modal dialog, notes what it shows, then answers it: types name into the
// file name field when name is not empty and presses Choose, or presses Cancel.
void answerWhenShown(Seen& seen, bool ok, const QString& name) {
    QTimer::singleShot(0, [&seen, ok, name] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            answerWhenShown(seen, ok, name);
            return;
        }
        seen.title = dialog->windowTitle();
        seen.instruction = dialog->labelText(QFileDialog::LookIn);
        seen.directory = dialog->directory().absolutePath();
        seen.parent = dialog->parentWidget();
        seen.modality = dialog->windowModality();
        seen.foldersOnly = dialog->fileMode() == QFileDialog::Directory &&
                           dialog->testOption(QFileDialog::ShowDirsOnly);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        if (!ok) {
            buttons->button(QDialogButtonBox::Cancel)->click();
            return;
        }
        if (!name.isEmpty()) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            edit->setFocus();
            QTest::keyClicks(edit, name);
        }
        buttons->button(QDialogButtonBox::Open)->click();
    });
}

} // namespace

void tst_FolderBrowseDialog::runAnswersWithTheFolder_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("preset"); // "<tmp>" stands for the test's folder
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("after");
    QTest::newRow("OK takes the preset folder") << "Browser for masterpoint files"
                                                << "<tmp>/mp" << true << "" << true << "<tmp>/mp";
    QTest::newRow("trailing separator dropped") << "Select backup location/folder"
                                                << "<tmp>/mp/" << true << "" << true << "<tmp>/mp";
    QTest::newRow("a subfolder chosen") << "Browser for masterpoint files"
                                        << "<tmp>" << true << "mp" << true << "<tmp>/mp";
    QTest::newRow("root keeps its separator") << "Browser for masterpoint files"
                                              << "/" << true << "" << true << "/";
    QTest::newRow("cancel keeps the preset") << "Select backup location/folder"
                                             << "<tmp>/mp" << false << "" << false << "<tmp>/mp";
    QTest::newRow("cancel with nothing preset") << "Browser for masterpoint files"
                                                << "" << false << "" << false << "";
}

void tst_FolderBrowseDialog::runAnswersWithTheFolder() {
    QFETCH(QString, title);
    QFETCH(QString, preset);
    QFETCH(bool, ok);
    QFETCH(QString, typed);
    QFETCH(bool, result);
    QFETCH(QString, after);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("mp")));
    const QString tmp = QDir(dir.path()).canonicalPath();
    preset.replace(QStringLiteral("<tmp>"), tmp);
    after.replace(QStringLiteral("<tmp>"), tmp);

    QWidget owner;
    owner.show();
    FolderBrowseDialog browse(&owner);
    browse.setTitle(title);
    browse.setSelectedFolder(preset);
    Seen seen;
    answerWhenShown(seen, ok, typed);
    QCOMPARE(browse.run(), result);

    QCOMPARE(browse.selectedFolder(), QDir::toNativeSeparators(after));
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.instruction, QStringLiteral("Masterpoint files folder"));
    if (!preset.isEmpty())
        QCOMPARE(seen.directory, QDir::cleanPath(preset));
    QCOMPARE(seen.parent, &owner);
    QCOMPARE(seen.modality, Qt::WindowModal);
    QVERIFY(seen.foldersOnly);
}

QTEST_MAIN(tst_FolderBrowseDialog)
#include "tst_folderbrowsedialog.moc"
