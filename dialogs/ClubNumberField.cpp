#include "dialogs/ClubNumberField.h"

#include "widgets/EditingKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

namespace {

constexpr int maxDigits = 4; // "9999"

} // namespace

ClubNumberField::ClubNumberField(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAcceptDrops(false);
    // Digits only: an input method would hand over composed text past keyPressEvent.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Any edit that reaches the line edit by a way not handled here (a platform key
    // binding, a middle-click paste) is undone, so the digits stay the only state.
    connect(this, &QLineEdit::textEdited, this, &ClubNumberField::restoreAfterForeignEdit);
    rebuildText();
}

void ClubNumberField::setAsInteger(int value) {
    outOfRange_ = value < 0 || value > 9999;
    outsideValue_ = outOfRange_ ? value : 0;
    digits_ = (outOfRange_ || value == 0) ? QString() : QString::number(value);
    rebuildText();
}

int ClubNumberField::asInteger() const {
    if (outOfRange_)
        return outsideValue_;
    return digits_.isEmpty() ? 0 : digits_.toInt();
}

void ClubNumberField::keyPressEvent(QKeyEvent* event) {
    switch (classifyEditingKey(event)) {
    case EditingKey::None:
        QLineEdit::keyPressEvent(event);
        return;
    case EditingKey::Character:
        if (!typeCharacters(event->text()))
            refuse();
        break;
    case EditingKey::DeleteLeft:
    case EditingKey::DeleteRight:
        deleteRightmost();
        break;
    case EditingKey::Paste:
        pasteFromClipboard();
        break;
    case EditingKey::OtherEdit:
        refuse();
        break;
    }
    event->accept();
}

bool ClubNumberField::typeCharacters(const QString& text) {
    bool allTaken = true;
    for (QChar c : text) {
        if (hasSelectedText())
            clearNumber(); // rebuilding the text also drops the selection
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit || outOfRange_ || digits_.size() >= maxDigits) {
            allTaken = false;
            continue;
        }
        if (c == QLatin1Char('0') && digits_.isEmpty())
            continue; // a leading zero adds nothing
        digits_.append(c);
        rebuildText();
    }
    return allTaken;
}

void ClubNumberField::deleteRightmost() {
    if (hasSelectedText() || outOfRange_)
        clearNumber();
    else if (!digits_.isEmpty())
        digits_.chop(1);
    rebuildText();
}

void ClubNumberField::pasteFromClipboard() {
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty() || !typeCharacters(text))
        refuse();
}

void ClubNumberField::clearNumber() {
    digits_.clear();
    outOfRange_ = false;
    outsideValue_ = 0;
    rebuildText();
}

void ClubNumberField::rebuildText() {
    const QString number = outOfRange_         ? QString::number(outsideValue_)
                           : digits_.isEmpty() ? QStringLiteral("0")
                                               : digits_;
    rebuilding_ = true;
    setText(number.rightJustified(maxDigits, QLatin1Char(' ')));
    rebuilding_ = false;
}

void ClubNumberField::restoreAfterForeignEdit() {
    if (rebuilding_)
        return;
    rebuildText();
    refuse();
}

void ClubNumberField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    selectAll();
    // A click that gave the focus would place the caret and drop the selection on
    // release; select again then, unless the user dragged a selection of their own.
    selectOnRelease_ = event->reason() == Qt::MouseFocusReason;
}

void ClubNumberField::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (selectOnRelease_ && !hasSelectedText())
        selectAll();
    selectOnRelease_ = false;
}

void ClubNumberField::contextMenuEvent(QContextMenuEvent* event) {
    // The standard menu's editing entries would change the text past the rules.
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), this, &QLineEdit::copy);
    copyAction->setEnabled(hasSelectedText());
    menu.addAction(tr("&Paste"), this, &ClubNumberField::pasteFromClipboard);
    menu.addSeparator();
    menu.addAction(tr("Select All"), this, &QLineEdit::selectAll);
    menu.exec(event->globalPos());
}

void ClubNumberField::refuse() {
    QApplication::beep();
    emit refused();
}
