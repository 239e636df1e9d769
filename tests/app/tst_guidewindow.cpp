// F1 opens the scorer's guide from wherever the user is, a modal dialog included, with
// its pictures; where the guide is missing, the window names every place it looked.

#include "app/GuideShortcut.h"
#include "app/GuideWindow.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtTest>

namespace {

GuideWindow* visibleGuide() {
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* guide = qobject_cast<GuideWindow*>(widget); guide && guide->isVisible())
            return guide;
    return nullptr;
}

} // namespace

class tst_GuideWindow : public QObject {
    Q_OBJECT

private slots:
    void f1OpensTheGuide_data();
    void f1OpensTheGuide();
};

void tst_GuideWindow::f1OpensTheGuide_data() {
    QTest::addColumn<bool>("modal");
    QTest::addColumn<bool>("guidePresent");
    QTest::newRow("window, guide in the second place looked") << false << true;
    QTest::newRow("modal dialog, guide in the second place looked") << true << true;
    QTest::newRow("window, guide missing") << false << false;
    QTest::newRow("modal dialog, guide missing") << true << false;
}

void tst_GuideWindow::f1OpensTheGuide() {
    QFETCH(bool, modal);
    QFETCH(bool, guidePresent);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList locations = {dir.filePath(QStringLiteral("first/guide.md")),
                                   dir.filePath(QStringLiteral("docs/guide.md"))};
    if (guidePresent) {
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("docs")));
        QFile guide(locations.at(1));
        QVERIFY(guide.open(QIODevice::WriteOnly));
        guide.write("# Guide of the test\n\nEvery step.\n\n![A window](window.png)\n");
        guide.close();
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(dir.filePath(QStringLiteral("docs/window.png"))));
    }
    GuideShortcut shortcut(*qApp, locations);

    QDialog window;
    auto* field = new QLineEdit(&window);
    (new QVBoxLayout(&window))->addWidget(field);
    if (modal)
        window.setWindowModality(Qt::ApplicationModal);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::activeModalWidget(), modal ? &window : nullptr);
    field->setFocus();

    QTest::keyClick(field, Qt::Key_F1);

    QTRY_VERIFY(visibleGuide());
    GuideWindow* guide = visibleGuide();
    QTRY_COMPARE(QApplication::activeWindow(), guide);
    QCOMPARE(field->text(), QString());
    auto* text = guide->findChild<QTextBrowser*>(QStringLiteral("guideText"));
    QVERIFY(text);
    // The guide takes keys typed through the window system, which a modal dialog would
    // swallow if it blocked the guide.
    QTRY_VERIFY(text->hasFocus());
    QTest::keyClick(guide->windowHandle(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(text->textCursor().hasSelection());
    const QString shown = text->toPlainText();
    if (guidePresent) {
        QVERIFY2(shown.contains(QStringLiteral("Guide of the test")), qPrintable(shown));
        const QVariant picture =
            text->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("window.png")));
        QVERIFY(picture.isValid() && !picture.toByteArray().isEmpty());
    } else {
        for (const QString& location : locations)
            QVERIFY2(shown.contains(QDir::toNativeSeparators(location)), qPrintable(shown));
    }

    // A second F1 raises the same guide rather than opening another.
    QTest::keyClick(field, Qt::Key_F1);
    int guides = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        guides += qobject_cast<GuideWindow*>(widget) && widget->isVisible();
    QCOMPARE(guides, 1);
}

QTEST_MAIN(tst_GuideWindow)
#include "tst_guidewindow.moc"
