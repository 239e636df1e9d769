// The Paths dialog as the user meets it: its controls, their order and access keys, how
// its fields grow, and which keys and buttons close it with which result. Loading and storing the
// values is the main window's business and is tested there.

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

namespace {

template <class Widget = QWidget> Widget* child(const QWidget& form, const char* name) {
    return form.findChild<Widget*>(QLatin1String(name));
}

// The access keys of every label and button of the dialog, one letter per "&".
QString accessKeys(const QWidget& form) {
    QString keys;
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        const int at = text.indexOf(QLatin1Char('&'));
        if (at >= 0 && at + 1 < text.size())
            keys += text.at(at + 1).toLower();
    }
    return keys;
}

} // namespace

class tst_PathsDialog : public QObject {
    Q_OBJECT

private slots:
    void init();

    void resizableWithDefaultOk();
    void fieldsGrowWithTheDialog();
    void accessKeyFocusesItsField_data();
    void accessKeyFocusesItsField();
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

void tst_PathsDialog::resizableWithDefaultOk() {
    PathsDialog form(prompts_);
    QCOMPARE(form.objectName(), QStringLiteral("PathsDialog"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Paths to files"));
    QVERIFY(form.windowFlags().testFlags(Qt::WindowMinMaxButtonsHint));
    QVERIFY(form.minimumSize() != form.maximumSize());
    // Never smaller than drawn.
    QVERIFY(form.width() >= 410 && form.height() >= 185);
    QVERIFY(child<QPushButton>(form, "okButton")->isDefault());
    QCOMPARE(child<QPushButton>(form, "cancelButton")->text(), QStringLiteral("cancel"));
}

void tst_PathsDialog::fieldsGrowWithTheDialog() {
    PathsDialog form(prompts_);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* masterpoint = child(form, "masterpointFolderEdit");
    auto* backup = child(form, "backupFolderEdit");
    auto* ok = child(form, "okButton");
    auto* club = child(form, "clubNumberField");
    const int fieldWidth = masterpoint->width();
    const int buttonGap = form.width() - ok->mapTo(&form, QPoint(ok->width(), 0)).x();
    const int clubWidth = club->width();

    form.resize(form.width() + 200, form.height() + 50);

    QTRY_COMPARE(masterpoint->width(), fieldWidth + 200);
    QCOMPARE(backup->width(), fieldWidth + 200);
    // OK and cancel stay at the right edge; the club number keeps its width.
    QCOMPARE(form.width() - ok->mapTo(&form, QPoint(ok->width(), 0)).x(), buttonGap);
    QCOMPARE(club->width(), clubWidth);
    // The fields never overlap the buttons.
    QVERIFY(masterpoint->geometry().right() < ok->mapTo(&form, QPoint(0, 0)).x());
}

void tst_PathsDialog::accessKeyFocusesItsField_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("field");
    QTest::newRow("masterpoint folder") << "masterpointFolderLabel"
                                        << "masterpointFolderEdit";
    QTest::newRow("backup folder") << "backupFolderLabel"
                                   << "backupFolderEdit";
    QTest::newRow("club number") << "clubNumberLabel"
                                 << "clubNumberField";
}

void tst_PathsDialog::accessKeyFocusesItsField() {
    QFETCH(QString, label);
    QFETCH(QString, field);
    PathsDialog form(prompts_);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* text = form.findChild<QLabel*>(label);
    auto* target = form.findChild<QWidget*>(field);
    QVERIFY2(text && target, qPrintable(label + QLatin1Char('/') + field));
    const int at = text->text().indexOf(QLatin1Char('&'));
    QVERIFY2(at >= 0, qPrintable(text->text()));
    const QChar key = text->text().at(at + 1).toLower();
    QCOMPARE(accessKeys(form).count(key), 1); // no other control of the dialog takes it
    // Start from another control, as a user would be.
    child(form, "cancelButton")->setFocus();
    QTRY_VERIFY(!target->hasFocus());

    QTest::keyClick(&form, key.toLatin1(), Qt::AltModifier);

    QTRY_VERIFY(target->hasFocus());
    QCOMPARE(target->accessibleName(), QString(text->text()).remove(QLatin1Char('&')));
    QVERIFY(form.isVisible());
    QCOMPARE(prompts_.asked, QStringList());
}

void tst_PathsDialog::tabOrder() {
    PathsDialog form(prompts_);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_COMPARE(QApplication::focusWidget(), child(form, "masterpointFolderEdit"));

    const QList<QWidget*> expected = {child(form, "backupFolderEdit"), child(form, "okButton"),
                                      child(form, "cancelButton"), child(form, "clubNumberField"),
                                      child(form, "masterpointFolderEdit")};
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
    for (auto [edit, folder] : {std::pair{child<DirectoryEdit>(form, "masterpointFolderEdit"), mp},
                                std::pair{child<DirectoryEdit>(form, "backupFolderEdit"), bu}}) {
        edit->setText(folder);
        edit->setStartFolder(folder);
    }
    auto* edit = form.findChild<DirectoryEdit*>(field);
    auto* other = form.findChild<DirectoryEdit*>(otherField);
    QVERIFY2(edit && other, qPrintable(field + QLatin1Char('/') + otherField));
    const QString start = field == QLatin1String("masterpointFolderEdit") ? mp : bu;
    const QString otherText = other->text();
    form.show();
    QSignalSpy finished(&form, &QDialog::finished);
    prompts_.directoryAnswers = {start + QStringLiteral("/sub")};

    QTest::keyClick(edit, Qt::Key_Return);

    QCOMPARE(prompts_.asked, QStringList{QStringLiteral("directory:") + start});
    QCOMPARE(finished.size(), 0);
    QVERIFY(form.isVisible());
    QCOMPARE(edit->text(), start + QStringLiteral("/sub"));
    QCOMPARE(other->text(), otherText);
}

QTEST_MAIN(tst_PathsDialog)
#include "tst_pathsdialog.moc"
