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
    void controlsNamedAndCaptioned_data();
    void controlsNamedAndCaptioned();
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

template <class Widget> Widget* child(const AboutBox& box, const char* name) {
    return box.findChild<Widget*>(QLatin1String(name));
}

QLabel* label(const AboutBox& box, const char* name) {
    return child<QLabel>(box, name);
}

QString texts(const AboutBox& box) {
    return QStringList{box.windowTitle(), label(box, "productName")->text(),
                       label(box, "version")->text(), label(box, "notice")->text(),
                       child<QPushButton>(box, "okButton")->text()}
        .join(u'|');
}

} // namespace

void tst_AboutBox::controlsNamedAndCaptioned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QString>("caption");
    QTest::newRow("picture frame") << "pictureFrame"
                                   << "AboutBox" << QString();
    QTest::newRow("product name") << "productName"
                                  << "pictureFrame"
                                  << "Tallyvue";
    QTest::newRow("version") << "version"
                             << "pictureFrame"
                             << "Version 1.0.0.3";
    QTest::newRow("notice") << "notice"
                            << "pictureFrame" << QString();
    QTest::newRow("OK button") << "okButton"
                               << "AboutBox"
                               << "OK";
}

void tst_AboutBox::controlsNamedAndCaptioned() {
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QString, caption);
    AboutBox box;
    box.show();
    auto* control = box.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->window(), &box);
    QVERIFY(control->parentWidget()->objectName() == parentName ||
            control->parentWidget()->parentWidget()->objectName() == parentName);
    if (!caption.isEmpty())
        QCOMPARE(control->accessibleName(), caption);
    if (auto* text = qobject_cast<QLabel*>(control)) {
        QCOMPARE(text->accessibleName(), text->text());
        QVERIFY(!text->text().contains(u'\n'));
        // Sized to its text and inside the panel.
        QCOMPARE(text->size(), text->sizeHint());
        QVERIFY(child<QFrame>(box, "pictureFrame")->rect().contains(text->geometry()));
    }
}

void tst_AboutBox::pictureIsStretchedOverThePanel() {
    AboutBox box;
    box.show();
    auto* frame = child<QFrame>(box, "pictureFrame");
    QLabel* picture = label(box, "picture");
    QCOMPARE(picture->parentWidget(), frame);
    QCOMPARE(picture->geometry(), frame->rect().adjusted(2, 2, -2, -2));
    QCOMPARE(picture->pixmap().size(), QSize(625, 267));
    QVERIFY(picture->hasScaledContents());
}

void tst_AboutBox::labelsArePaintedOpaqueOverThePicture() {
    AboutBox box;
    QVERIFY(showAndActivate(box));
    auto* frame = child<QFrame>(box, "pictureFrame");
    const QImage panel = frame->grab().toImage();
    const QColor face = frame->palette().color(QPalette::Window);
    for (const char* name : {"productName", "version", "notice"}) {
        // The bottom-right corner of each text is clear of glyphs: it shows the label's
        // own background, not the picture beneath.
        QLabel* text = label(box, name);
        const QPoint corner = text->geometry().bottomRight();
        QCOMPARE(panel.pixelColor(corner), face);
        QVERIFY(text->autoFillBackground());
    }
    // Outside the labels the picture shows.
    QVERIFY(panel.pixelColor(frame->width() / 2, frame->height() / 2) != face);
}

void tst_AboutBox::fixedSizeWithoutMinMaxBoxes() {
    AboutBox box;
    box.show();
    QCOMPARE(box.objectName(), QStringLiteral("AboutBox"));
    QCOMPARE(box.windowTitle(), QStringLiteral("About"));
    QCOMPARE(box.minimumSize(), box.size());
    QCOMPARE(box.maximumSize(), box.size());
    // Never smaller than drawn, whatever the font.
    QVERIFY(box.width() >= 298 && box.height() >= 213);
    QVERIFY(child<QFrame>(box, "pictureFrame")->width() >= 281);
    QVERIFY(child<QPushButton>(box, "okButton")->width() >= 75);
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
        QTest::mouseClick(child<QPushButton>(box, "okButton"), Qt::LeftButton);
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
