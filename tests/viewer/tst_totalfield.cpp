// Totals field: the picture "######.##" display rule and the read-only behaviour.

#include "viewer/TotalField.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

class tst_TotalField : public QObject {
    Q_OBJECT
private slots:
    void formatsThroughThePicture_data();
    void formatsThroughThePicture();
    void showsTheSystemDecimalSymbol();
    void refusesEveryEditingKey_data();
    void refusesEveryEditingKey();
    void entrySelectsAllWithCaretAtEnd();
};

void tst_TotalField::formatsThroughThePicture_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected"); // with "." as the decimal symbol
    QTest::newRow("two decimals") << 13.25 << "    13.25";
    QTest::newRow("zero shown") << 0.0 << "     0.00";
    QTest::newRow("negative zero unsigned") << -0.0 << "     0.00";
    QTest::newRow("zero before point below 1") << 0.5 << "     0.50";
    QTest::newRow("missing decimal becomes 0") << 12.5 << "    12.50";
    QTest::newRow("four whole digits") << 1234.5 << "  1234.50";
    QTest::newRow("minus left of digits") << -3.25 << "    -3.25";
    QTest::newRow("fills all nine") << 999999.99 << "999999.99";
    QTest::newRow("half hundredth rounds up") << 0.005 << "     0.01";
    QTest::newRow("negative half hundredth") << -0.005 << "    -0.01";
    QTest::newRow("rounding to zero drops sign") << -0.004 << "     0.00";
    QTest::newRow("exact tie away from zero") << -0.125 << "    -0.13";
    QTest::newRow("million widens") << 1234567.89 << "1234567.89";
    QTest::newRow("rounding into a seventh digit") << 999999.999 << "1000000.00";
    QTest::newRow("negative six digits widens") << -123456.78 << "-123456.78";
    QTest::newRow("not a number") << std::nan("") << "#########";
}

void tst_TotalField::formatsThroughThePicture() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(TotalField::formatPicture(value, '.'), expected);
    QCOMPARE(TotalField::formatPicture(value, ','), QString(expected).replace('.', ','));
}

void tst_TotalField::showsTheSystemDecimalSymbol() {
    // main() starts the program under a German locale, whose decimal symbol is a comma.
    TotalField field;
    field.setAsFloat(13.25);
    QCOMPARE(field.text(), QString("    13,25"));
}

void tst_TotalField::refusesEveryEditingKey_data() {
    QTest::addColumn<QKeyCombination>("key");
    QTest::addColumn<bool>("selected");
    QTest::newRow("digit") << QKeyCombination(Qt::Key_5) << false;
    QTest::newRow("digit over selection") << QKeyCombination(Qt::Key_5) << true;
    QTest::newRow("blank") << QKeyCombination(Qt::Key_Space) << false;
    QTest::newRow("backspace") << QKeyCombination(Qt::Key_Backspace) << false;
    QTest::newRow("delete over selection") << QKeyCombination(Qt::Key_Delete) << true;
    QTest::newRow("paste") << (Qt::ControlModifier | Qt::Key_V) << true;
    QTest::newRow("cut") << (Qt::ControlModifier | Qt::Key_X) << true;
}

void tst_TotalField::refusesEveryEditingKey() {
    QFETCH(QKeyCombination, key);
    QFETCH(bool, selected);
    QApplication::clipboard()->setText("7");
    TotalField field;
    field.setAsFloat(13.25);
    selected ? field.selectAll() : field.end(false);
    QSignalSpy refused(&field, &TotalField::refused);
    QTest::keyClick(&field, key.key(), key.keyboardModifiers());
    QCOMPARE(field.text(), QString("    13,25"));
    QCOMPARE(refused.count(), 1);
}

void tst_TotalField::entrySelectsAllWithCaretAtEnd() {
    QWidget window;
    auto* field = new TotalField(&window);
    field->setAsFloat(1234.5);
    field->setCursorPosition(0);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    field->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(field->cursorPosition(), 9);
    QCOMPARE(field->selectedText(), QString("  1234,50"));
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier); // copying is not editing
    QCOMPARE(QApplication::clipboard()->text(), QString("  1234,50"));
}

int main(int argc, char** argv) {
    // The system's regional settings are read when the program starts.
    qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication app(argc, argv);
    tst_TotalField test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_totalfield.moc"
