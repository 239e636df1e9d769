// The About box: what it shows, how it closes and where it stands.

#include "dialogs/AboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

class tst_AboutBox : public QObject {
    Q_OBJECT

private slots:
    void controlsNamedPlacedAndCaptioned_data();
    void controlsNamedPlacedAndCaptioned();
    void pictureIsStretchedOverThePanel();
    void labelsArePaintedOpaqueOverThePicture();
    void fixedSizeWithoutMinMaxBoxes();
    void closingGivesItsResult_data();
    void closingGivesItsResult();
    void everyShowingIsTheSameAndCentred();
};

namespace {

// Shows the box as the program does and waits until it has the keyboard.
bool showAndActivate(AboutBox& box) {
    box.open();
    return QTest::qWaitForWindowActive(&box);
}

QString texts(const AboutBox& box) {
    return QStringList{box.windowTitle(), box.productName()->text(), box.version()->text(),
                       box.notice()->text(), box.okButton()->text()}
        .join(u'|');
}

} // namespace

void tst_AboutBox::controlsNamedPlacedAndCaptioned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QString>("caption");
    QTest::newRow("picture frame") << "pictureFrame"
                                   << "AboutBox" << QPoint(8, 8) << QString();
    QTest::newRow("product name") << "productName"
                                  << "pictureFrame" << QPoint(168, 0) << "Tallyvue";
    QTest::newRow("version") << "version"
                             << "pictureFrame" << QPoint(187, 13) << "Version 1.0.0.3";
    QTest::newRow("notice") << "notice"
                            << "pictureFrame" << QPoint(0, 146) << QString();
    QTest::newRow("OK button") << "okButton"
                               << "AboutBox" << QPoint(111, 180) << "OK";
}

void tst_AboutBox::controlsNamedPlacedAndCaptioned() {
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QPoint, place);
    QFETCH(QString, caption);
    AboutBox box;
    auto* control = box.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    QCOMPARE(control->pos(), place);
    if (!caption.isEmpty())
        QCOMPARE(control->accessibleName(), caption);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->accessibleName(), label->text());
        QVERIFY(!label->text().contains(u'\n'));
        // Sized to its text and inside the panel.
        QCOMPARE(label->size(), label->sizeHint());
        QVERIFY(box.pictureFrame()->rect().contains(label->geometry()));
    }
}

void tst_AboutBox::pictureIsStretchedOverThePanel() {
    AboutBox box;
    QCOMPARE(box.picture()->parentWidget(), box.pictureFrame());
    QCOMPARE(box.picture()->geometry(), QRect(2, 2, 277, 157));
    QCOMPARE(box.picture()->pixmap().size(), QSize(625, 267));
    QVERIFY(box.picture()->hasScaledContents());
}

void tst_AboutBox::labelsArePaintedOpaqueOverThePicture() {
    AboutBox box;
    QVERIFY(showAndActivate(box));
    const QImage panel = box.pictureFrame()->grab().toImage();
    const QColor face = box.pictureFrame()->palette().color(QPalette::Window);
    for (QLabel* label : {box.productName(), box.version(), box.notice()}) {
        // The bottom-right corner of each text is clear of glyphs: it shows the label's
        // own background, not the picture beneath.
        const QPoint corner = label->geometry().bottomRight();
        QCOMPARE(panel.pixelColor(corner), face);
        QVERIFY(label->autoFillBackground());
    }
    // Outside the labels the picture shows.
    QVERIFY(panel.pixelColor(140, 80) != face);
}

void tst_AboutBox::fixedSizeWithoutMinMaxBoxes() {
    AboutBox box;
    QCOMPARE(box.objectName(), QStringLiteral("AboutBox"));
    QCOMPARE(box.windowTitle(), QStringLiteral("About"));
    QCOMPARE(box.size(), QSize(298, 213));
    QCOMPARE(box.minimumSize(), QSize(298, 213));
    QCOMPARE(box.maximumSize(), QSize(298, 213));
    QCOMPARE(box.pictureFrame()->size(), QSize(281, 161));
    QCOMPARE(box.okButton()->size(), QSize(75, 25));
    QVERIFY(!(box.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(box.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(box.windowFlags() & Qt::WindowCloseButtonHint);
}

void tst_AboutBox::closingGivesItsResult_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter") << "Enter" << int(QDialog::Accepted);
    QTest::newRow("Esc") << "Esc" << int(QDialog::Accepted);
    QTest::newRow("OK clicked") << "OK" << int(QDialog::Accepted);
    QTest::newRow("close box") << "close" << int(QDialog::Rejected);
}

void tst_AboutBox::closingGivesItsResult() {
    QFETCH(QString, how);
    QFETCH(int, result);
    AboutBox box;
    QSignalSpy finished(&box, &QDialog::finished);
    QVERIFY(showAndActivate(box));
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    if (how == "Enter")
        QTest::keyClick(focus, Qt::Key_Return);
    else if (how == "Esc")
        QTest::keyClick(focus, Qt::Key_Escape);
    else if (how == "OK")
        QTest::mouseClick(box.okButton(), Qt::LeftButton);
    else
        box.close();
    QTRY_COMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), result);
    QVERIFY(!box.isVisible());
}

void tst_AboutBox::everyShowingIsTheSameAndCentred() {
    AboutBox box;
    QVERIFY(showAndActivate(box));
    const QRect first = box.geometry();
    const QString shown = texts(box);
    const QPoint centre = box.screen()->geometry().center();
    QVERIFY2((first.center() - centre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("box at %1,%2").arg(first.x()).arg(first.y())));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!box.isVisible());

    box.move(first.topLeft() + QPoint(60, 40)); // dragged away, then shown again
    QVERIFY(showAndActivate(box));
    QCOMPARE(box.geometry(), first);
    QCOMPARE(texts(box), shown);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!box.isVisible());
}

QTEST_MAIN(tst_AboutBox)
#include "tst_aboutbox.moc"
