// The Paths dialog as the user meets it: its controls, their order, and which keys and
// buttons close it with which result. Loading and storing the values is the main
// window's business and is tested there.

#include "dialogs/ClubNumberField.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/PathsDialog.h"
#include "support/ScriptedPrompts.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class tst_PathsDialog : public QObject {
    Q_OBJECT

private slots:
    void init();

    void layout();
    void tabOrder();
    void closingGivesResult_data();
    void closingGivesResult();
    void enterInFolderFieldBrowsesOnlyThatField_data();
    void enterInFolderFieldBrowsesOnlyThatField();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    ScriptedPrompts prompts_;
};

void tst_PathsDialog::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("mp/sub")));
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("bu/sub")));
    prompts_ = ScriptedPrompts();
}

void tst_PathsDialog::layout() {
    PathsDialog form(prompts_);
    QCOMPARE(form.objectName(), QStringLiteral("PathsDialog"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Paths to files"));
    QCOMPARE(form.frameGeometry(), QRect(401, 188, 410, 185));
    QVERIFY(form.windowFlags().testFlags(Qt::WindowMinMaxButtonsHint));
    QVERIFY(form.minimumSize() != form.maximumSize());

    const struct {
        QWidget* control;
        const char* name;
        QRect geometry;
    } controls[] = {{form.masterpointFolderEdit(), "masterpointFolderEdit", {16, 32, 273, 21}},
                    {form.backupFolderEdit(), "backupFolderEdit", {16, 88, 273, 21}},
                    {form.okButton(), "okButton", {312, 32, 75, 25}},
                    {form.cancelButton(), "cancelButton", {312, 80, 75, 25}},
                    {form.clubNumberField(), "clubNumberField", {151, 124, 42, 21}}};
    for (const auto& expected : controls) {
        QCOMPARE(expected.control->objectName(), QLatin1String(expected.name));
        QCOMPARE(expected.control->geometry(), expected.geometry);
    }
    const struct {
        QLabel* label;
        const char* name;
        const char* text;
        QPoint pos;
    } labels[] = {{form.masterpointFolderLabel(),
                   "masterpointFolderLabel",
                   "Path to masterpont files",
                   {16, 16}},
                  {form.backupFolderLabel(), "backupFolderLabel", "Path to backup files", {16, 64}},
                  {form.clubNumberLabel(), "clubNumberLabel", "Kavra Club No.", {80, 129}}};
    for (const auto& expected : labels) {
        QCOMPARE(expected.label->objectName(), QLatin1String(expected.name));
        QCOMPARE(expected.label->text(), QLatin1String(expected.text));
        QCOMPARE(expected.label->y(), expected.pos.y());
        if (expected.label != form.clubNumberLabel())
            QCOMPARE(expected.label->x(), expected.pos.x());
    }
    // The club number's label may give way to the left for a wide font, never overlap.
    QVERIFY(form.clubNumberLabel()->x() <= 80);
    QVERIFY(form.clubNumberLabel()->geometry().right() < form.clubNumberField()->x());

    QCOMPARE(form.okButton()->text(), QStringLiteral("OK"));
    QVERIFY(form.okButton()->isDefault());
    QCOMPARE(form.cancelButton()->text(), QStringLiteral("cancel"));
}

void tst_PathsDialog::tabOrder() {
    PathsDialog form(prompts_);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_COMPARE(QApplication::focusWidget(), form.masterpointFolderEdit());

    const QList<QWidget*> expected = {form.backupFolderEdit(), form.okButton(), form.cancelButton(),
                                      form.clubNumberField(), form.masterpointFolderEdit()};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void tst_PathsDialog::closingGivesResult_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK button") << "okButton" << int(QDialog::Accepted);
    QTest::newRow("Enter in club number presses OK")
        << "Enter:clubNumberField" << int(QDialog::Accepted);
    QTest::newRow("cancel button") << "cancelButton" << int(QDialog::Rejected);
    QTest::newRow("Esc in a folder field") << "Esc:masterpointFolderEdit" << int(QDialog::Rejected);
}

void tst_PathsDialog::closingGivesResult() {
    QFETCH(QString, how);
    QFETCH(int, result);
    PathsDialog form(prompts_);
    form.show();
    QSignalSpy finished(&form, &QDialog::finished);

    const QString target = how.section(QLatin1Char(':'), -1);
    auto* widget = form.findChild<QWidget*>(target);
    QVERIFY2(widget, qPrintable(target));
    if (how.startsWith(QStringLiteral("Enter:")))
        QTest::keyClick(widget, Qt::Key_Return);
    else if (how.startsWith(QStringLiteral("Esc:")))
        QTest::keyClick(widget, Qt::Key_Escape);
    else
        QTest::mouseClick(widget, Qt::LeftButton);

    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), result);
    QCOMPARE(prompts_.asked, QStringList());
}

void tst_PathsDialog::enterInFolderFieldBrowsesOnlyThatField_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("otherField");
    QTest::newRow("masterpoint folder") << "masterpointFolderEdit"
                                        << "backupFolderEdit";
    QTest::newRow("backup folder") << "backupFolderEdit"
                                   << "masterpointFolderEdit";
}

void tst_PathsDialog::enterInFolderFieldBrowsesOnlyThatField() {
    QFETCH(QString, field);
    QFETCH(QString, otherField);
    PathsDialog form(prompts_);
    const QString mp = dir_->path() + QStringLiteral("/mp");
    const QString bu = dir_->path() + QStringLiteral("/bu");
    for (auto [edit, folder] :
         {std::pair{form.masterpointFolderEdit(), mp}, std::pair{form.backupFolderEdit(), bu}}) {
        edit->setText(folder);
        edit->setStartFolder(folder);
    }
    auto* edit = form.findChild<DirectoryEdit*>(field);
    auto* other = form.findChild<DirectoryEdit*>(otherField);
    QVERIFY2(edit && other, qPrintable(field + QLatin1Char('/') + otherField));
    const QString start = edit->startFolder();
    const QString otherText = other->text();
    form.show();
    QSignalSpy finished(&form, &QDialog::finished);
    prompts_.directoryAnswers = {start + QStringLiteral("/sub")};

    QTest::keyClick(edit, Qt::Key_Return);

    QCOMPARE(prompts_.asked, QStringList{QStringLiteral("directory:|") + start});
    QCOMPARE(finished.size(), 0);
    QVERIFY(form.isVisible());
    QCOMPARE(edit->text(), start + QStringLiteral("/sub"));
    QCOMPARE(other->text(), otherText);
}

QTEST_MAIN(tst_PathsDialog)
#include "tst_pathsdialog.moc"
