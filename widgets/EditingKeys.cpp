#include "widgets/EditingKeys.h"

#include <QKeyEvent>
#include <QKeySequence>

EditingKey classifyEditingKey(const QKeyEvent* event) {
    // Sequences first: some of them share their key with a plain edit
    // (Shift+Delete cuts, Ctrl+Backspace deletes a word, Shift+Insert pastes).
    if (event->matches(QKeySequence::Paste))
        return EditingKey::Paste;
    static const QKeySequence::StandardKey otherEdits[] = {
        QKeySequence::Cut,
        QKeySequence::Undo,
        QKeySequence::Redo,
        QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine,
    };
    for (QKeySequence::StandardKey key : otherEdits)
        if (event->matches(key))
            return EditingKey::OtherEdit;
    if (event->key() == Qt::Key_Backspace)
        return EditingKey::DeleteLeft;
    if (event->key() == Qt::Key_Delete)
        return EditingKey::DeleteRight;

    const QString text = event->text();
    const Qt::KeyboardModifiers mods = event->modifiers();
    // Ctrl without Alt is a command; Ctrl+Alt is how AltGr reaches some platforms.
    const bool command =
        (mods & Qt::MetaModifier) || ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier));
    if (text.isEmpty() || command)
        return EditingKey::None;
    for (QChar c : text)
        if (!c.isPrint())
            return EditingKey::None;
    return EditingKey::Character;
}

bool isEditingKey(const QKeyEvent* event) {
    return classifyEditingKey(event) != EditingKey::None;
}
