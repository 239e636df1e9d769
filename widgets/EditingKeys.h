#pragma once
// What a key press asks of a text field, as the masked fields see it.

class QKeyEvent;

enum class EditingKey {
    None,        // moves the caret, selects, copies, changes focus, or does nothing
    Character,   // types printable text
    DeleteLeft,  // Backspace
    DeleteRight, // Delete
    Paste,       // pastes from the clipboard
    OtherEdit,   // any other change of the text (cut, undo, redo, delete a word or line)
};

EditingKey classifyEditingKey(const QKeyEvent* event);

// True for every kind but None.
bool isEditingKey(const QKeyEvent* event);
