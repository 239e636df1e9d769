#pragma once
// A Prompts that answers from a script and records what was asked, in order, so tests
// can check the questions and messages a command shows.

#include "dialogs/Prompts.h"

#include <QStringList>
#include <deque>
#include <optional>

class ScriptedPrompts : public Prompts {
public:
    // One record per question: "browse:<title>|<start>", "directory:<start>",
    // "save:<proposed>", "paths:<masterpoint>|<backup>|<club>", "about",
    // "message:<text>", "warning:<text>", "question:<text>", "error:<text as shown>".
    QStringList asked;

    // Answers, in order; an empty queue answers cancel.
    std::deque<std::optional<QString>> folderAnswers;     // browseForFolder
    std::deque<std::optional<QString>> directoryAnswers;  // chooseFolderInDialog
    std::deque<std::optional<QString>> saveAnswers;       // chooseSaveName
    std::deque<std::optional<PathSettings>> pathsAnswers; // editPaths
    std::deque<bool> yesNoAnswers;                        // askYesNo; empty answers No

    std::optional<QString> browseForFolder(const QString& title, const QString& start) override;
    std::optional<QString> chooseFolderInDialog(const QString& start) override;
    std::optional<QString> chooseSaveName(const QString& proposed) override;
    std::optional<PathSettings> editPaths(const PathSettings& current) override;
    void showAbout() override;
    void showMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    bool askYesNo(const QString& question) override;
    void showError(const QString& message, const QString& reason) override;

    QStringList messages() const; // the "message:" records, text only
    QStringList warnings() const; // the "warning:" records, text only
    QStringList errors() const;   // the "error:" records, text only
};
