// The "Choose Folder" dialog over a folder tree of the test's own: which folder it
// opens, what a click, a double-click and the drive box do, and what OK chooses.

#include "dialogs/ChooseFolderDialog.h"
#include "support/ScriptedPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QTreeWidgetItem* itemFor(QTreeWidget* tree, const QString& path) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if (QDir::toNativeSeparators((*it)->data(0, Qt::UserRole).toString()) == native(path))
            return *it;
    return nullptr;
}

QStringList childTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

template <class Widget> Widget* child(const ChooseFolderDialog& dialog, const char* name) {
    return dialog.findChild<Widget*>(QLatin1String(name));
}

QTreeWidget* treeOf(const ChooseFolderDialog& dialog) {
    return child<QTreeWidget>(dialog, "folderTree");
}

QLabel* pathLabelOf(const ChooseFolderDialog& dialog) {
    return child<QLabel>(dialog, "pathLabel");
}

QPoint centreOf(QTreeWidget* tree, QTreeWidgetItem* item) {
    return tree->visualItemRect(item).center();
}

// The events of a real double-click: QTest's own sends the double-click event alone.
void doubleClickAt(QWidget* widget, QPoint at) {
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

} // namespace

class tst_ChooseFolderDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fixedSizeWithBuddies();
    void opensStartFolder_data();
    void opensStartFolder();
    void unopenableStartFolderIsReportedAndWorkingFolderShown_data();
    void unopenableStartFolderIsReportedAndWorkingFolderShown();
    void treeShowsAncestorsOpenFolderAndSubfolders();
    void clicksInTree_data();
    void clicksInTree();
    void vanishedSubfolderIsReportedAndKept();
    void okChoosesOpenFolderNotHighlighted_data();
    void okChoosesOpenFolderNotHighlighted();
    void keyboardMovesHighlightAndEnterOpens_data();
    void keyboardMovesHighlightAndEnterOpens();
    void driveBoxListsRootAndOpensIt();
    void longPathIsShortenedToFit();

private:
    QString top() const { return dir_->path() + QStringLiteral("/top"); }
    // Tests that need a particular working folder set it here; only they change it.
    void setWorkingFolder(const QString& folder) {
        QVERIFY(QDir::setCurrent(folder));
        expectedWorkingFolder_ = QDir::currentPath();
    }

    std::unique_ptr<QTemporaryDir> dir_;
    QString workingFolder_;
    QString expectedWorkingFolder_;
    ScriptedPrompts prompts_;
};

void tst_ChooseFolderDialog::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    for (const char* sub : {"top/beta", "top/Alpha", "top/gamma/inner", "elsewhere"})
        QVERIFY(QDir(dir_->path()).mkpath(QLatin1String(sub)));
    QFile file(top() + QStringLiteral("/file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    workingFolder_ = expectedWorkingFolder_ = QDir::currentPath();
    prompts_ = ScriptedPrompts();
}

void tst_ChooseFolderDialog::cleanup() {
    // The dialog must never move the working folder; put it back regardless, so one
    // failure does not spill into the next test.
    const QString now = QDir::currentPath();
    QDir::setCurrent(workingFolder_);
    QCOMPARE(now, expectedWorkingFolder_);
}

void tst_ChooseFolderDialog::fixedSizeWithBuddies() {
    ChooseFolderDialog dialog(prompts_, top());
    QCOMPARE(dialog.objectName(), QStringLiteral("ChooseFolderDialog"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Choose Folder"));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    // Never smaller than drawn.
    QVERIFY(dialog.width() >= 334 && dialog.height() >= 261);
    QVERIFY(treeOf(dialog)->width() >= 325 && treeOf(dialog)->height() >= 117);

    const struct {
        const char* name;
        const char* text;
        QWidget* buddy;
    } labels[] = {{"foldersLabel", "&Folders:", treeOf(dialog)},
                  {"drivesLabel", "Dri&ves:", child<QComboBox>(dialog, "driveBox")}};
    for (const auto& expected : labels) {
        auto* label = dialog.findChild<QLabel*>(QLatin1String(expected.name));
        QVERIFY2(label, expected.name);
        QCOMPARE(label->text(), QLatin1String(expected.text));
        QCOMPARE(label->buddy(), expected.buddy);
    }
    QVERIFY(pathLabelOf(dialog));
    QCOMPARE(child<QPushButton>(dialog, "okButton")->text(), QStringLiteral("OK"));
    QVERIFY(child<QPushButton>(dialog, "okButton")->isDefault());
    QCOMPARE(child<QPushButton>(dialog, "cancelButton")->text(), QStringLiteral("Cancel"));
}

void tst_ChooseFolderDialog::opensStartFolder_data() {
    QTest::addColumn<QString>("start");    // relative ones are taken from the temp folder
    QTest::addColumn<QString>("expected"); // likewise
    QTest::newRow("absolute") << "@/top"
                              << "@/top";
    QTest::newRow("trailing separator") << "@/top/"
                                        << "@/top";
    QTest::newRow("dot segments") << "@/top/beta/../gamma/."
                                  << "@/top/gamma";
    QTest::newRow("relative to working folder") << "top/beta"
                                                << "@/top/beta";
    QTest::newRow("root keeps its separator") << "/"
                                              << "/";
}

void tst_ChooseFolderDialog::opensStartFolder() {
    QFETCH(QString, start);
    QFETCH(QString, expected);
    setWorkingFolder(dir_->path());
    start.replace(QLatin1Char('@'), dir_->path());
    expected.replace(QLatin1Char('@'), dir_->path());

    ChooseFolderDialog dialog(prompts_, start);
    QCOMPARE(dialog.chosenFolder(), native(expected));
    QCOMPARE(pathLabelOf(dialog)->toolTip(), native(expected));
    QCOMPARE(treeOf(dialog)->currentItem(), itemFor(treeOf(dialog), expected));
    QCOMPARE(prompts_.asked, QStringList());
}

void tst_ChooseFolderDialog::unopenableStartFolderIsReportedAndWorkingFolderShown_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("reported");
    QTest::newRow("missing folder") << "@/top/missing" << true;
    QTest::newRow("a file, not a folder") << "@/top/file.txt" << true;
    QTest::newRow("empty start folder") << "" << false;
}

void tst_ChooseFolderDialog::unopenableStartFolderIsReportedAndWorkingFolderShown() {
    QFETCH(QString, start);
    QFETCH(bool, reported);
    start.replace(QLatin1Char('@'), dir_->path());
    setWorkingFolder(dir_->path() + QStringLiteral("/elsewhere"));

    ChooseFolderDialog dialog(prompts_, start);
    QCOMPARE(prompts_.asked.size(), reported ? 1 : 0);
    if (reported) {
        QVERIFY(prompts_.messages().at(0).contains(start));
        QVERIFY(!dialog.isVisible()); // reported while the dialog is being built
    }
    QCOMPARE(dialog.chosenFolder(), native(dir_->path() + QStringLiteral("/elsewhere")));
}

void tst_ChooseFolderDialog::treeShowsAncestorsOpenFolderAndSubfolders() {
    ChooseFolderDialog dialog(prompts_, top());
    QTreeWidget* tree = treeOf(dialog);

    // The top-level item is the root, each item below it the next folder down.
    QCOMPARE(tree->topLevelItemCount(), 1);
    QCOMPARE(tree->topLevelItem(0)->text(0), native(QDir::rootPath()));
    QStringList chain;
    for (QTreeWidgetItem* item = itemFor(tree, top()); item; item = item->parent())
        chain.prepend(item->text(0));
    QCOMPARE(chain.mid(1).join(QLatin1Char('/')), QString(top()).remove(0, 1));

    // Folders only, case ignored in the order.
    QTreeWidgetItem* open = tree->currentItem();
    QCOMPARE(childTexts(open), (QStringList{"Alpha", "beta", "gamma"}));
    QCOMPARE(childTexts(open->child(2)), QStringList()); // the folders of a subfolder wait
}

void tst_ChooseFolderDialog::clicksInTree_data() {
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("expectedOpen");
    QTest::newRow("single click on subfolder highlights only") << false << "/top/beta"
                                                               << "/top";
    QTest::newRow("double-click on subfolder opens it") << true << "/top/beta"
                                                        << "/top/beta";
    QTest::newRow("double-click on parent opens it") << true << ""
                                                     << "";
}

void tst_ChooseFolderDialog::clicksInTree() {
    QFETCH(bool, doubleClick);
    QFETCH(QString, target);
    QFETCH(QString, expectedOpen);
    ChooseFolderDialog dialog(prompts_, top());
    dialog.show();
    QTreeWidget* tree = treeOf(dialog);
    QTreeWidgetItem* item = itemFor(tree, dir_->path() + target);
    QVERIFY(item);

    if (doubleClick)
        doubleClickAt(tree->viewport(), centreOf(tree, item));
    else
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centreOf(tree, item));

    const QString open = dir_->path() + expectedOpen;
    QCOMPARE(dialog.chosenFolder(), native(open));
    QCOMPARE(pathLabelOf(dialog)->toolTip(), native(open));
    if (!doubleClick)
        QCOMPARE(tree->currentItem(), item);
    else
        QCOMPARE(tree->currentItem(), itemFor(tree, open));
    QCOMPARE(prompts_.asked, QStringList());
}

void tst_ChooseFolderDialog::vanishedSubfolderIsReportedAndKept() {
    ChooseFolderDialog dialog(prompts_, top());
    dialog.show();
    QTreeWidget* tree = treeOf(dialog);
    QTreeWidgetItem* beta = itemFor(tree, top() + QStringLiteral("/beta"));
    QVERIFY(QDir(top() + QStringLiteral("/beta")).removeRecursively());

    doubleClickAt(tree->viewport(), centreOf(tree, beta));
    QCOMPARE(prompts_.messages().size(), 1);
    QVERIFY(prompts_.messages().at(0).contains(native(top() + QStringLiteral("/beta"))));
    QCOMPARE(dialog.chosenFolder(), native(top()));
}

void tst_ChooseFolderDialog::okChoosesOpenFolderNotHighlighted_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("OK button") << "okButton" << int(QDialog::Accepted);
    QTest::newRow("Cancel button") << "cancelButton" << int(QDialog::Rejected);
}

void tst_ChooseFolderDialog::okChoosesOpenFolderNotHighlighted() {
    QFETCH(QString, how);
    QFETCH(int, result);
    ChooseFolderDialog dialog(prompts_, top());
    dialog.show();
    QTreeWidget* tree = treeOf(dialog);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      centreOf(tree, itemFor(tree, top() + QStringLiteral("/gamma"))));
    QSignalSpy finished(&dialog, &QDialog::finished);

    auto* button = dialog.findChild<QPushButton*>(how);
    QVERIFY2(button, qPrintable(how));
    QTest::mouseClick(button, Qt::LeftButton);

    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), result);
    QCOMPARE(dialog.chosenFolder(), native(top()));
}

void tst_ChooseFolderDialog::keyboardMovesHighlightAndEnterOpens_data() {
    QTest::addColumn<QString>("keys");     // typed in the tree, in order
    QTest::addColumn<QString>("expected"); // the open folder after them, "@" the temp folder
    QTest::addColumn<int>("result");       // -1 while the dialog stays open
    QTest::newRow("Down highlights, Enter opens the first subfolder") << "Down Enter"
                                                                      << "@/top/Alpha" << -1;
    QTest::newRow("two Downs, keypad Enter opens the second") << "Down Down KeypadEnter"
                                                              << "@/top/beta" << -1;
    QTest::newRow("Up, Enter opens the parent") << "Up Enter"
                                                << "@" << -1;
    QTest::newRow("highlight moved back, Enter chooses the open folder")
        << "Down Up Enter"
        << "@/top" << int(QDialog::Accepted);
    QTest::newRow("Enter twice: opens, then chooses") << "Down Down Down Enter Enter"
                                                      << "@/top/gamma" << int(QDialog::Accepted);
    QTest::newRow("opened with the keys, then Esc") << "Down Enter Escape"
                                                    << "@/top/Alpha" << int(QDialog::Rejected);
}

void tst_ChooseFolderDialog::keyboardMovesHighlightAndEnterOpens() {
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    QFETCH(int, result);
    expected.replace(QLatin1Char('@'), dir_->path());
    ChooseFolderDialog dialog(prompts_, top());
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTreeWidget* tree = treeOf(dialog);
    QTRY_VERIFY(tree->hasFocus());
    QSignalSpy finished(&dialog, &QDialog::finished);

    const QMap<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> named = {
        {"Down", {Qt::Key_Down, {}}},
        {"Up", {Qt::Key_Up, {}}},
        {"Enter", {Qt::Key_Return, {}}},
        {"KeypadEnter", {Qt::Key_Enter, Qt::KeypadModifier}},
        {"Escape", {Qt::Key_Escape, {}}}};
    for (const QString& name : keys.split(QLatin1Char(' '))) {
        QVERIFY2(named.contains(name), qPrintable(name));
        QTest::keyClick(tree, named[name].first, named[name].second);
    }

    QCOMPARE(dialog.chosenFolder(), native(expected));
    QCOMPARE(pathLabelOf(dialog)->toolTip(), native(expected));
    QCOMPARE(finished.size(), result < 0 ? 0 : 1);
    if (result >= 0)
        QCOMPARE(finished.at(0).at(0).toInt(), result);
    else
        QCOMPARE(tree->currentItem(), itemFor(tree, expected)); // the opened one, highlighted
    QCOMPARE(prompts_.asked, QStringList());
}

void tst_ChooseFolderDialog::driveBoxListsRootAndOpensIt() {
    ChooseFolderDialog dialog(prompts_, top());
    dialog.show();
    QComboBox* drives = child<QComboBox>(dialog, "driveBox");
    const int root = drives->findText(native(QDir::rootPath()));
    QVERIFY(root >= 0);

    // Chosen from the list, as with the mouse, even when it is already the current one.
    drives->showPopup();
    QAbstractItemView* list = drives->view();
    QTRY_VERIFY(list->isVisible());
    const QPoint at = list->visualRect(list->model()->index(root, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);

    QTRY_COMPARE(dialog.chosenFolder(), native(QDir::rootPath()));
    QCOMPARE(drives->currentIndex(), root);
    QCOMPARE(treeOf(dialog)->topLevelItemCount(), 1);
    QCOMPARE(treeOf(dialog)->currentItem(), treeOf(dialog)->topLevelItem(0));
}

void tst_ChooseFolderDialog::longPathIsShortenedToFit() {
    const QString deep = top() + QStringLiteral("/") + QString(60, QLatin1Char('a')) +
                         QStringLiteral("/") + QString(60, QLatin1Char('b'));
    QVERIFY(QDir().mkpath(deep));
    ChooseFolderDialog dialog(prompts_, deep);
    QLabel* label = pathLabelOf(dialog);
    QVERIFY(label->text() != native(deep));
    QVERIFY(label->text().contains(QChar(0x2026)));
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    QCOMPARE(label->toolTip(), native(deep));
    QCOMPARE(dialog.chosenFolder(), native(deep));
}

QTEST_MAIN(tst_ChooseFolderDialog)
#include "tst_choosefolderdialog.moc"
