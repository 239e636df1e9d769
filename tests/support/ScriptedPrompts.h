#pragma once
// A Prompts that answers from a script and records what was asked, in order, so tests
// can check the questions and messages a command shows.

#include "dialogs/Prompts.h"

#include <QStringList>
#include <deque>
#include <optional>

class ScriptedPrompts : public Prompts {
public:
    // One record per question: "browse:<title>|<start>" (then "|unticked" when
    // "Remember this folder" is offered unticked), "directory:<start>",
    // "save:<proposed>", "paths:<masterpoint>|<backup>|<club>", "about",
    // "message:<text>", "warning:<text>", "question:<text>",
    // "proceed:<button>|<text>", "print", "preview", "error:<text as shown>".
    QStringList asked;

    // Answers, in order; an empty queue answers cancel.
    std::deque<std::optional<QString>> folderAnswers;     // browseForFolder
    std::deque<std::optional<QString>> directoryAnswers;  // chooseFolderInDialog
    std::deque<std::optional<QString>> saveAnswers;       // chooseSaveName
    std::deque<std::optional<PathSettings>> pathsAnswers; // editPaths
    std::deque<bool> yesNoAnswers;                        // askYesNo; empty answers No
    std::deque<bool> rememberAnswers; // browseForFolder's check box; empty leaves it as offered
    std::deque<bool> proceedAnswers;  // askToProceed; empty answers Cancel
    std::deque<bool> printAnswers;    // choosePrinter; empty answers Cancel

    std::optional<FolderChoice> browseForFolder(const QString& title, const QString& start,
                                                bool remember) override;
    std::optional<QString> chooseFolderInDialog(const QString& start) override;
    std::optional<QString> chooseSaveName(const QString& proposed) override;
    std::optional<PathSettings> editPaths(const PathSettings& current) override;
    void showAbout() override;
    void showMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    bool askYesNo(const QString& question) override;
    bool askToProceed(const QString& question, const QString& proceed) override;
    // Paints the preview's pages on printer as the dialog would, then closes it.
    bool choosePrinter(QPrinter& printer) override;
    void previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;
    void showError(const QString& message, const QString& reason) override;

    QStringList messages() const; // the "message:" records, text only
    QStringList warnings() const; // the "warning:" records, text only
    QStringList errors() const;   // the "error:" records, text only
};
