// Club number field: display under "9999" and the typing rules, key by key.

#include "dialogs/ClubNumberField.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <climits>

namespace {

// The field in a dialog as it is used: a second field after it, OK and Cancel.
struct Form {
    QDialog dialog;
    ClubNumberField* field = new ClubNumberField(&dialog);
    QLineEdit* next = new QLineEdit(&dialog);

    explicit Form(int value) {
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(field);
        layout->addWidget(next);
        layout->addWidget(buttons);
        field->setAsInteger(value);
        dialog.show();
    }
    // Enters the field the way Tab does; true once it has the focus.
    bool enter() {
        if (!QTest::qWaitForWindowActive(&dialog))
            return false;
        field->setFocus(Qt::TabFocusReason);
        return QTest::qWaitFor([this] { return field->hasFocus(); });
    }
    // Keys separated by blanks: a named key below or one character typed as it stands.
    void type(const QString& keys) {
        static const QHash<QString, QKeyCombination> named = {
            {"End", Qt::Key_End},
            {"Home", Qt::Key_Home},
            {"ShiftLeft", Qt::ShiftModifier | Qt::Key_Left},
            {"Backspace", Qt::Key_Backspace},
            {"Delete", Qt::Key_Delete},
            {"Space", Qt::Key_Space},
            {"Cut", Qt::ControlModifier | Qt::Key_X},
            {"Paste", Qt::ControlModifier | Qt::Key_V},
            {"Undo", Qt::ControlModifier | Qt::Key_Z},
        };
        for (const QString& key : keys.split(' ', Qt::SkipEmptyParts)) {
            if (named.contains(key))
                QTest::keyClick(field, named[key].key(), named[key].keyboardModifiers());
            else
                QTest::keyClick(field, key.at(0).toLatin1());
        }
    }
};

} // namespace

class tst_ClubNumberField : public QObject {
    Q_OBJECT
private slots:
    void displaysAndReadsBack_data();
    void displaysAndReadsBack();
    void followsTheTypingRules_data();
    void followsTheTypingRules();
    void undoesEditsThatBypassTheRules();
    void leavesTabEnterAndEscapeToTheDialog();
};

void tst_ClubNumberField::displaysAndReadsBack_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "   0";
    QTest::newRow("two digits") << 42 << "  42";
    QTest::newRow("four digits") << 9999 << "9999";
    QTest::newRow("above the mask kept whole") << 12345 << "12345";
    QTest::newRow("lowest 32-bit kept") << INT_MIN << "-2147483648";
}

void tst_ClubNumberField::displaysAndReadsBack() {
    QFETCH(int, value);
    QFETCH(QString, text);
    ClubNumberField field;
    field.setAsInteger(value);
    QCOMPARE(field.text(), text);
    QCOMPARE(field.asInteger(), value);
}

void tst_ClubNumberField::followsTheTypingRules_data() {
    QTest::addColumn<int>("initial");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("keys"); // typed after entering the field (all selected)
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");
    QTest::newRow("digit over selection starts anew") << 123 << ""
                                                      << "4"
                                                      << "   4" << 0;
    QTest::newRow("digits join at the right") << 123 << ""
                                              << "4 5 6 7"
                                              << "4567" << 0;
    QTest::newRow("fifth digit refused") << 123 << ""
                                         << "4 5 6 7 8"
                                         << "4567" << 1;
    QTest::newRow("letter over selection clears") << 123 << ""
                                                  << "a"
                                                  << "   0" << 1;
    QTest::newRow("leading zeros add nothing") << 0 << ""
                                               << "End 0 0 7 0"
                                               << "  70" << 0;
    QTest::newRow("backspace removes rightmost") << 4567 << ""
                                                 << "End Backspace"
                                                 << " 456" << 0;
    QTest::newRow("four backspaces give zero")
        << 4567 << ""
        << "End Backspace Backspace Backspace Backspace Backspace"
        << "   0" << 0;
    QTest::newRow("delete at the start removes rightmost") << 4567 << ""
                                                           << "Home Delete"
                                                           << " 456" << 0;
    QTest::newRow("delete over selection clears") << 4567 << ""
                                                  << "Delete"
                                                  << "   0" << 0;
    QTest::newRow("partial selection clears") << 4567 << ""
                                              << "End ShiftLeft 9"
                                              << "   9" << 0;
    QTest::newRow("letter refused") << 42 << ""
                                    << "End a"
                                    << "  42" << 1;
    QTest::newRow("blank refused") << 42 << ""
                                   << "End Space"
                                   << "  42" << 1;
    QTest::newRow("minus refused") << 42 << ""
                                   << "End -"
                                   << "  42" << 1;
    QTest::newRow("decimal symbols refused") << 42 << ""
                                             << "End . ,"
                                             << "  42" << 2;
    QTest::newRow("cut and undo refused") << 42 << ""
                                          << "Cut End Backspace Undo"
                                          << "   4" << 2;
    QTest::newRow("paste typed over selection") << 5 << "0042"
                                                << "Paste"
                                                << "  42" << 0;
    QTest::newRow("paste stops at four digits") << 5 << "123456"
                                                << "End Paste"
                                                << "5123" << 1;
    QTest::newRow("paste of other characters") << 5 << "1a2"
                                               << "Paste"
                                               << "  12" << 1;
    QTest::newRow("digit refused above the mask") << 12345 << ""
                                                  << "End 6"
                                                  << "12345" << 1;
    QTest::newRow("backspace clears above the mask") << 12345 << ""
                                                     << "End Backspace"
                                                     << "   0" << 0;
}

void tst_ClubNumberField::followsTheTypingRules() {
    QFETCH(int, initial);
    QFETCH(QString, clipboard);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, beeps);
    QApplication::clipboard()->setText(clipboard);
    Form form(initial);
    QVERIFY(form.enter());
    QCOMPARE(form.field->selectedText(), form.field->text());
    QSignalSpy refused(form.field, &ClubNumberField::refused);
    form.type(keys);
    QCOMPARE(form.field->text(), text);
    QCOMPARE(form.field->asInteger(), text.toInt());
    QCOMPARE(refused.count(), beeps);
}

void tst_ClubNumberField::undoesEditsThatBypassTheRules() {
    ClubNumberField field;
    field.setAsInteger(42);
    QSignalSpy refused(&field, &ClubNumberField::refused);
    field.insert("x"); // as a key binding of the platform's own would
    QCOMPARE(field.text(), QString("  42"));
    QCOMPARE(refused.count(), 1);
}

void tst_ClubNumberField::leavesTabEnterAndEscapeToTheDialog() {
    {
        Form form(1);
        QVERIFY(form.enter());
        QTest::keyClick(form.field, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("   1"));
        QTest::keyClick(form.field, Qt::Key_Tab);
        QTRY_VERIFY(form.next->hasFocus());
    }
    {
        Form form(1);
        QVERIFY(form.enter());
        QTest::keyClick(form.field, Qt::Key_Return);
        QCOMPARE(form.dialog.result(), int(QDialog::Accepted));
    }
    Form form(1);
    QVERIFY(form.enter());
    QTest::keyClick(form.field, Qt::Key_Escape);
    QVERIFY(!form.dialog.isVisible());
}

QTEST_MAIN(tst_ClubNumberField)
#include "tst_clubnumberfield.moc"
