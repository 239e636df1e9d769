#include "support/ScriptedPrompts.h"

#include "dialogs/ErrorText.h"
#include "dialogs/FolderBrowseDialog.h"

bool ScriptedPrompts::browseForFolder(FolderBrowseDialog& dialog) {
    asked << QStringLiteral("browse:%1|%2").arg(dialog.title, dialog.selectedFolder);
    if (folderAnswers.empty())
        return false;
    const bool ok = folderAnswers.front().has_value();
    if (ok)
        dialog.selectedFolder = folderAnswers.front().value();
    folderAnswers.pop_front();
    return ok;
}

std::optional<QString> ScriptedPrompts::chooseSaveName(QWidget*, const QString& proposed) {
    asked << QStringLiteral("save:") + proposed;
    if (saveAnswers.empty())
        return std::nullopt;
    const QString answer = saveAnswers.front().value_or(QString());
    const bool ok = saveAnswers.front().has_value();
    saveAnswers.pop_front();
    if (!ok)
        return std::nullopt;
    return answer;
}

void ScriptedPrompts::showMessage(QWidget*, const QString& text) {
    asked << QStringLiteral("message:") + text;
}

void ScriptedPrompts::showError(QWidget*, const QString& message) {
    asked << QStringLiteral("error:") + errorBoxText(message);
}

int ScriptedPrompts::execDialog(QDialog& dialog) {
    asked << QStringLiteral("dialog:") + dialog.objectName();
    if (dialogHandler)
        return dialogHandler(dialog);
    return dialog.exec();
}

static QStringList withPrefix(const QStringList& records, const QString& prefix) {
    QStringList out;
    for (const QString& record : records)
        if (record.startsWith(prefix))
            out << record.mid(prefix.size());
    return out;
}

QStringList ScriptedPrompts::messages() const {
    return withPrefix(asked, QStringLiteral("message:"));
}

QStringList ScriptedPrompts::errors() const {
    return withPrefix(asked, QStringLiteral("error:"));
}
