#pragma once
// Club number field: a whole number typed through the picture "9999".
//
// Display: the digits fill four positions from the right, blanks to their left; no
// digits shows a lone "0" ("   0"), 42 shows "  42".
//
// Editing, key by key (the field keeps the digits itself; the text is rebuilt after
// every key):
// - Entering the field selects its whole text.
// - A printable character typed while text is selected first clears the number.
// - A digit joins the number at its right end; "0" with no digits yet adds nothing; a
//   fifth digit is refused.
// - Backspace and Delete remove the rightmost digit; with text selected they clear.
// - Any other printable character is refused.
// - Paste (keys, context menu) types the clipboard's characters through the same rules;
//   every other edit (cut, undo, redo, deleting words, drops) is refused.
// Every refusal sounds the system beep and emits refused(). Caret movement, selection,
// copy, Tab, Enter and Escape behave as in any line edit, so a dialog's default and
// cancel buttons still answer Enter and Escape.
//
// A value outside 0..9999 given to setAsInteger is shown in full, right-aligned, and
// asInteger returns it unchanged until the user edits the field, so a club number that
// came from elsewhere is never lost by merely opening and confirming a dialog. Editing
// such a value: a digit is refused (the field is full), Backspace and Delete clear it,
// and anything typed over the selection starts a new number as usual.

#include <QLineEdit>

class ClubNumberField : public QLineEdit {
    Q_OBJECT
public:
    explicit ClubNumberField(QWidget* parent = nullptr);

    void setAsInteger(int value);
    int asInteger() const;

signals:
    // Emitted with the beep whenever a key or an edit is refused.
    void refused();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Types text through the editing rules; true when every character was taken.
    bool typeCharacters(const QString& text);
    void deleteRightmost();
    void pasteFromClipboard();
    void clearNumber();
    void rebuildText();
    void restoreAfterForeignEdit();
    void refuse();

    QString digits_;          // 0 to 4 digits, no leading zero; empty means 0
    bool outOfRange_ = false; // showing outsideValue_ as given by setAsInteger
    int outsideValue_ = 0;
    bool rebuilding_ = false;
    bool selectOnRelease_ = false;
};
