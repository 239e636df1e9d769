#include "viewer/TotalField.h"

#include "viewer/MarkBrush.h"
#include "widgets/EditingKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <cmath>

namespace {

constexpr int pictureWidth = 9; // "######.##"

} // namespace

TotalField::TotalField(QWidget* parent) : QLineEdit(parent) {
    // Read-only already keeps paste, drops, input methods and the context menu's editing
    // entries away from the text; keys are answered in keyPressEvent so they beep.
    setReadOnly(true);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAcceptDrops(false);
    setAsFloat(0.0);
}

QString TotalField::formatPicture(double value, QChar decimalSymbol) {
    if (!std::isfinite(value))
        return QString(pictureWidth, QLatin1Char('#'));
    // Qt's fixed notation rounds the exact binary value to the nearest hundredth and
    // exact ties away from zero; the leading "0" below 1 comes with it.
    QString text = QString::number(value, 'f', 2);
    if (text.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (QChar c : text.mid(1))
            if (c.isDigit() && c != QLatin1Char('0'))
                allZero = false;
        if (allZero)
            text.remove(0, 1);
    }
    text.replace(text.size() - 3, 1, decimalSymbol);
    // Wider texts stay whole: cutting digits would show a different number.
    return text.rightJustified(pictureWidth, QLatin1Char(' '));
}

void TotalField::setAsFloat(double value) {
    value_ = value;
    const QString point = QLocale::system().decimalPoint();
    setText(formatPicture(value, point.isEmpty() ? QLatin1Char('.') : point.at(0)));
}

void TotalField::setMark(const QString& reason) {
    setToolTip(reason);
    if (reason.isEmpty()) {
        // Back to the palette it inherits.
        setPalette(QPalette());
        return;
    }
    QPalette marked = palette();
    marked.setBrush(QPalette::Base, markBrush());
    setPalette(marked);
}

void TotalField::keyPressEvent(QKeyEvent* event) {
    if (isEditingKey(event)) {
        refuse();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TotalField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Whole text selected, caret at the end (selectAll leaves it there).
    selectAll();
}

void TotalField::refuse() {
    QApplication::beep();
    emit refused();
}
