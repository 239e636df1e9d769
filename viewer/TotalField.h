#pragma once
// Read-only totals field showing a floating-point value through the picture "######.##".
//
// The text is nine characters: the value rounded to the nearest hundredth (exact ties
// away from zero) with two decimals, the whole-number digits right-aligned in the six
// positions before the decimal symbol, a "0" before the symbol below 1, a "-" just left
// of the digits for a negative value, blanks everywhere else. A value that rounds to
// zero shows "0.00" without a sign.
//
// Overflow: a value that needs more than nine characters (a whole part of a million or
// more, or a negative value with six whole digits) is shown in full, wider than nine
// characters and without leading blanks, so no digit is ever cut off and the field
// never shows a wrong number. A value that is not a number at all (NaN, infinity)
// shows nine "#" marks.
//
// The user can select and copy the text but change nothing: every key that would edit
// it is refused with the system beep and the refused() signal. On entry the whole
// text is selected with the caret at its end.
//
// A field can be marked, as the viewer marks cells: shaded with markBrush(), the reason
// in its tool tip; the value and its text are not touched.

#include <QLineEdit>

class TotalField : public QLineEdit {
    Q_OBJECT
public:
    explicit TotalField(QWidget* parent = nullptr);

    // Rebuilds the text at once from value, using the system's decimal symbol.
    void setAsFloat(double value);
    double asFloat() const { return value_; }

    // Marks the field with reason as its tool tip; an empty reason takes the mark off.
    void setMark(const QString& reason);

    // The text shown for value under the picture, with decimalSymbol at the point.
    static QString formatPicture(double value, QChar decimalSymbol);

signals:
    // Emitted with the beep whenever a key or an edit is refused.
    void refused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void refuse();

    double value_ = 0.0;
};
