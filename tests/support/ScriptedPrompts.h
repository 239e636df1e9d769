#pragma once
// A Prompts that answers from a script and records what was asked, in order, so window
// tests can check the dialogs and messages a command shows.

#include "dialogs/Prompts.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

class ScriptedPrompts : public Prompts {
public:
    // One record per question: "browse:<title>|<preset>", "save:<proposed>",
    // "message:<text>", "error:<text as shown>", "dialog:<objectName>".
    QStringList asked;

    // Answers for browseForFolder, in order: a folder for OK, nothing for cancel.
    // When the queue is empty the answer is cancel.
    std::deque<std::optional<QString>> folderAnswers;
    // Answers for chooseSaveName; empty queue means cancel.
    std::deque<std::optional<QString>> saveAnswers;
    // Called for execDialog; may change the dialog's fields and returns its result.
    // When unset, the real dialog runs (exec) so a test can answer it with a timer.
    std::function<int(QDialog&)> dialogHandler;

    bool browseForFolder(FolderBrowseDialog& dialog) override;
    std::optional<QString> chooseSaveName(QWidget* parent, const QString& proposed) override;
    void showMessage(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& message) override;
    int execDialog(QDialog& dialog) override;

    QStringList messages() const; // the "message:" records, text only
    QStringList errors() const;   // the "error:" records, text only
};
