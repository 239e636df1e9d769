// The directory edit as a user drives it inside a dialog that has a default button:
// Enter and the browse button ask for a folder from the start folder, a folder chosen
// sets text and start folder, cancel changes nothing, and a disabled field does nothing.

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

QToolButton* browseButtonOf(DirectoryEdit* edit) {
    return edit->findChild<QToolButton*>(QStringLiteral("browseButton"));
}

} // namespace

class tst_DirectoryEdit : public QObject {
    Q_OBJECT

private slots:
    void init();

    void enterBrowsesAndNeverReachesDefaultButton_data();
    void enterBrowsesAndNeverReachesDefaultButton();
    void browseOpensAtTypedFolderWhenThere_data();
    void browseOpensAtTypedFolderWhenThere();
    void okReplacesTextAndStartFolder_data();
    void okReplacesTextAndStartFolder();
    void mouseOnBrowseButton_data();
    void mouseOnBrowseButton();
    void disabledFieldDoesNotReact();
    void buttonFillsRightEndOfField();

private:
    // The next folder dialog answers folder (cancel when it is empty).
    void answerWith(const std::optional<QString>& folder) { prompts_.directoryAnswers = {folder}; }
    // The start folder of every folder dialog asked for, in order.
    QStringList openedAt() const {
        QStringList starts;
        for (const QString& record : prompts_.asked)
            if (record.startsWith(QStringLiteral("directory:")))
                starts << record.mid(int(qstrlen("directory:")));
        return starts;
    }

    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedPrompts prompts_;
};

void tst_DirectoryEdit::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("start/chosen")));
    prompts_ = ScriptedPrompts();
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
    answerWith(std::nullopt);

    QTest::keyClick(host.edit, Qt::Key(key), modifiers);

    QCOMPARE(openedAt().size(), 1);
    QCOMPARE(finished.size(), 0);
    QVERIFY(host.dialog.isVisible());
    QCOMPARE(host.edit->text(), QStringLiteral("typed"));
}

// Enter, then Enter again in the dialog, must keep the folder typed, not put the old
// one back over it.
void tst_DirectoryEdit::browseOpensAtTypedFolderWhenThere_data() {
    QTest::addColumn<QString>("startFolder"); // "@" stands for the temporary folder
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opensAt");
    QTest::newRow("typed folder that exists") << "@/start"
                                              << "@/start/chosen"
                                              << "@/start/chosen";
    QTest::newRow("typed folder that does not") << "@/start"
                                                << "/New"
                                                << "@/start";
    QTest::newRow("no start folder") << ""
                                     << "@/start"
                                     << "@/start";
}

void tst_DirectoryEdit::browseOpensAtTypedFolderWhenThere() {
    QFETCH(QString, startFolder);
    QFETCH(QString, typed);
    QFETCH(QString, opensAt);
    for (QString* text : {&startFolder, &typed, &opensAt})
        text->replace(QLatin1Char('@'), dir_->path());
    Host host(prompts_);
    host.edit->setStartFolder(startFolder);
    QTest::keyClicks(host.edit, typed);
    answerWith(std::nullopt);

    QTest::mouseClick(browseButtonOf(host.edit), Qt::LeftButton);

    QCOMPARE(openedAt(), QStringList{opensAt});
    // A browse cancelled keeps the text as typed.
    QCOMPARE(host.edit->text(), typed);
}

void tst_DirectoryEdit::okReplacesTextAndStartFolder_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("subfolder") << "@/start/chosen";
    QTest::newRow("root keeps its separator") << "/";
}

void tst_DirectoryEdit::okReplacesTextAndStartFolder() {
    QFETCH(QString, answer);
    answer.replace(QLatin1Char('@'), dir_->path());
    const QString chosen = answer;
    Host host(prompts_);
    host.edit->setStartFolder(dir_->path() + QStringLiteral("/start"));
    host.edit->setText(QStringLiteral("some typed text"));
    host.edit->setCursorPosition(4);
    QSignalSpy chosenSpy(host.edit, &DirectoryEdit::folderChosen);
    answerWith(answer);

    QTest::keyClick(host.edit, Qt::Key_Return);
    QCOMPARE(host.edit->text(), chosen);
    QCOMPARE(chosenSpy.size(), 1);

    // The next browse opens where this OK left off while what is typed is no folder.
    host.edit->setText(QStringLiteral("other"));
    answerWith(std::nullopt);
    QTest::keyClick(host.edit, Qt::Key_Return);
    QCOMPARE(openedAt().last(), chosen);
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
    answerWith(std::nullopt);
    QToolButton* button = browseButtonOf(host.edit);

    QTest::mousePress(button, Qt::LeftButton);
    QVERIFY(button->isDown());
    QCOMPARE(prompts_.asked, QStringList());
    const QPoint at = releaseOver ? button->rect().center() : QPoint(-20, 5);
    QTest::mouseMove(button, at);
    QCOMPARE(button->isDown(), releaseOver);
    QTest::mouseRelease(button, Qt::LeftButton, {}, at);

    QCOMPARE(openedAt().size(), releaseOver ? 1 : 0);
    QVERIFY(!button->isDown());
}

void tst_DirectoryEdit::disabledFieldDoesNotReact() {
    Host host(prompts_);
    answerWith(dir_->path());
    host.edit->setText(QStringLiteral("kept"));
    host.edit->setEnabled(false);

    QTest::mouseClick(browseButtonOf(host.edit), Qt::LeftButton);
    QTest::keyClick(host.edit, Qt::Key_Return);

    QVERIFY(!browseButtonOf(host.edit)->isEnabled());
    QCOMPARE(prompts_.asked, QStringList());
    QCOMPARE(host.edit->text(), QStringLiteral("kept"));
}

void tst_DirectoryEdit::buttonFillsRightEndOfField() {
    Host host(prompts_);
    const QRect button = browseButtonOf(host.edit)->geometry();
    const int extent = host.edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int frame = (host.edit->height() - button.height()) / 2;
    QCOMPARE(button.width(), extent);
    QCOMPARE(button.right(), host.edit->width() - 1 - frame);
    QVERIFY(button.height() >= host.edit->height() - 6);
    QCOMPARE(host.edit->textMargins().right(), extent);
}

QTEST_MAIN(tst_DirectoryEdit)
#include "tst_directoryedit.moc"
