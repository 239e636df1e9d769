// The directory edit as a user drives it inside a dialog that has a default button:
// Enter and the browse button run the folder dialog at the start folder, OK there sets
// text and start folder, cancel changes nothing, and a disabled field does nothing.

#include "dialogs/ChooseFolderDialog.h"
#include "dialogs/DirectoryEdit.h"
#include "support/ScriptedPrompts.h"

#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

// A dialog holding the field and a default OK button, as the Paths dialog does.
struct Host {
    explicit Host(Prompts& prompts) : edit(new DirectoryEdit(prompts, &dialog)) {
        edit->setGeometry(16, 32, 273, 21);
        auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setGeometry(312, 32, 75, 25);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        dialog.resize(410, 185);
        dialog.show();
    }
    QDialog dialog;
    DirectoryEdit* edit;
};

const QString kDialog = QStringLiteral("dialog:ChooseFolderDialog");

} // namespace

class tst_DirectoryEdit : public QObject {
    Q_OBJECT

private slots:
    void init();

    void enterBrowsesAndNeverReachesDefaultButton_data();
    void enterBrowsesAndNeverReachesDefaultButton();
    void browseOpensAtStartFolderNotTypedText_data();
    void browseOpensAtStartFolderNotTypedText();
    void okReplacesTextAndStartFolder_data();
    void okReplacesTextAndStartFolder();
    void mouseOnBrowseButton_data();
    void mouseOnBrowseButton();
    void disabledFieldDoesNotReact();
    void buttonFillsRightEndOfField();

private:
    // Records the folder each folder dialog opened at and answers with the given result,
    // after opening answerFolder when it is set.
    void answerWith(int result, const QString& answerFolder = QString()) {
        prompts_.dialogHandler = [this, result, answerFolder](QDialog& dialog) {
            auto& chooser = dynamic_cast<ChooseFolderDialog&>(dialog);
            openedAt_ << chooser.openFolder();
            if (!answerFolder.isEmpty())
                chooser.openFolderAt(answerFolder);
            return result;
        };
    }

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedPrompts prompts_;
    QStringList openedAt_;
};

void tst_DirectoryEdit::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("start/chosen")));
    prompts_ = ScriptedPrompts();
    openedAt_.clear();
}

void tst_DirectoryEdit::enterBrowsesAndNeverReachesDefaultButton_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter)
                                  << Qt::KeyboardModifiers(Qt::KeypadModifier);
}

void tst_DirectoryEdit::enterBrowsesAndNeverReachesDefaultButton() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    Host host(prompts_);
    host.edit->setText(QStringLiteral("typed"));
    QSignalSpy finished(&host.dialog, &QDialog::finished);
    answerWith(QDialog::Rejected);

    QTest::keyClick(host.edit, Qt::Key(key), modifiers);

    QCOMPARE(prompts_.asked, QStringList{kDialog});
    QCOMPARE(finished.size(), 0);
    QVERIFY(host.dialog.isVisible());
    QCOMPARE(host.edit->text(), QStringLiteral("typed"));
}

void tst_DirectoryEdit::browseOpensAtStartFolderNotTypedText_data() {
    QTest::addColumn<QString>("startFolder"); // "@" stands for the temporary folder
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expectedOpen"); // empty: the working folder
    QTest::newRow("typed folder that exists") << "@/start"
                                              << "@/start/chosen"
                                              << "@/start";
    QTest::newRow("typed folder that does not") << "@/start"
                                                << "/New"
                                                << "@/start";
    QTest::newRow("no start folder") << ""
                                     << "@/start"
                                     << "";
}

void tst_DirectoryEdit::browseOpensAtStartFolderNotTypedText() {
    QFETCH(QString, startFolder);
    QFETCH(QString, typed);
    QFETCH(QString, expectedOpen);
    for (QString* text : {&startFolder, &typed, &expectedOpen})
        text->replace(QLatin1Char('@'), dir_->path());
    if (expectedOpen.isEmpty())
        expectedOpen = QDir::currentPath();
    Host host(prompts_);
    host.edit->folderDialog.directory = startFolder;
    QTest::keyClicks(host.edit, typed);
    answerWith(QDialog::Rejected);

    QTest::mouseClick(host.edit->browseButton(), Qt::LeftButton);

    QCOMPARE(openedAt_, QStringList{QDir::toNativeSeparators(expectedOpen)});
    QCOMPARE(host.edit->text(), typed);
    QCOMPARE(host.edit->folderDialog.directory, startFolder);
}

void tst_DirectoryEdit::okReplacesTextAndStartFolder_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("subfolder") << "@/start/chosen";
    QTest::newRow("root keeps its separator") << "/";
}

void tst_DirectoryEdit::okReplacesTextAndStartFolder() {
    QFETCH(QString, answer);
    answer.replace(QLatin1Char('@'), dir_->path());
    const QString chosen = QDir::toNativeSeparators(answer);
    Host host(prompts_);
    host.edit->folderDialog.directory = dir_->path() + QStringLiteral("/start");
    host.edit->setText(QStringLiteral("some typed text"));
    host.edit->setCursorPosition(4);
    QSignalSpy chosenSpy(host.edit, &DirectoryEdit::folderChosen);
    answerWith(QDialog::Accepted, answer);

    QTest::keyClick(host.edit, Qt::Key_Return);
    QCOMPARE(host.edit->text(), chosen);
    QCOMPARE(host.edit->folderDialog.directory, chosen);
    QCOMPARE(chosenSpy.size(), 1);

    // The next browse opens where this OK left off, whatever is typed meanwhile.
    host.edit->setText(QStringLiteral("other"));
    answerWith(QDialog::Rejected);
    QTest::keyClick(host.edit, Qt::Key_Return);
    QCOMPARE(openedAt_.last(), chosen);
    QCOMPARE(host.edit->text(), QStringLiteral("other"));
}

void tst_DirectoryEdit::mouseOnBrowseButton_data() {
    QTest::addColumn<bool>("releaseOver");
    QTest::newRow("press and release over it: a click") << true;
    QTest::newRow("press, release elsewhere: no click") << false;
}

void tst_DirectoryEdit::mouseOnBrowseButton() {
    QFETCH(bool, releaseOver);
    Host host(prompts_);
    answerWith(QDialog::Rejected);
    QToolButton* button = host.edit->browseButton();

    QTest::mousePress(button, Qt::LeftButton);
    QVERIFY(button->isDown());
    QCOMPARE(prompts_.asked, QStringList());
    const QPoint at = releaseOver ? button->rect().center() : QPoint(-20, 5);
    QTest::mouseMove(button, at);
    QCOMPARE(button->isDown(), releaseOver);
    QTest::mouseRelease(button, Qt::LeftButton, {}, at);

    QCOMPARE(prompts_.asked, releaseOver ? QStringList{kDialog} : QStringList());
    QVERIFY(!button->isDown());
}

void tst_DirectoryEdit::disabledFieldDoesNotReact() {
    Host host(prompts_);
    answerWith(QDialog::Accepted, dir_->path());
    host.edit->setText(QStringLiteral("kept"));
    host.edit->setEnabled(false);

    QTest::mouseClick(host.edit->browseButton(), Qt::LeftButton);
    QTest::keyClick(host.edit, Qt::Key_Return);

    QVERIFY(!host.edit->browseButton()->isEnabled());
    QCOMPARE(prompts_.asked, QStringList());
    QCOMPARE(host.edit->text(), QStringLiteral("kept"));
}

void tst_DirectoryEdit::buttonFillsRightEndOfField() {
    Host host(prompts_);
    const QRect button = host.edit->browseButton()->geometry();
    const int extent = host.edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int frame = (host.edit->height() - button.height()) / 2;
    QCOMPARE(button.width(), extent);
    QCOMPARE(button.right(), host.edit->width() - 1 - frame);
    QVERIFY(button.height() >= host.edit->height() - 6);
    QCOMPARE(host.edit->textMargins().right(), extent);
}

QTEST_MAIN(tst_DirectoryEdit)
#include "tst_directoryedit.moc"
