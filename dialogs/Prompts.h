#pragma once
// Every modal question the program asks goes through this seam, as plain values: the
// program uses QtPrompts (real dialogs over the active window); tests pass a scripted
// one that answers without a dialog.

#include <QString>
#include <functional>
#include <optional>

class QPrinter;

// The three values of the Paths dialog.
struct PathSettings {
    QString masterpointFolder;
    QString backupFolder;
    int clubNumber = 0;
};

// What the folder question answers: the folder chosen with OK, without a trailing
// separator except for the root, and whether "Remember this folder" was ticked.
struct FolderChoice {
    QString folder;
    bool remember = true;
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // The folder browse dialog titled title, with start selected (none when empty) and
    // the check box "Remember this folder", ticked as remember says; what was chosen with
    // OK, or nothing on cancel.
    virtual std::optional<FolderChoice> browseForFolder(const QString& title, const QString& start,
                                                        bool remember) = 0;

    // The "Choose Folder" dialog of a folder field, opening at start; the folder chosen
    // with OK, or nothing on cancel.
    virtual std::optional<QString> chooseFolderInDialog(const QString& start) = 0;

    // The platform's save dialog preset with proposed (a full path); the chosen name,
    // or nothing on cancel. No filter, no default suffix, and no question of its own
    // when the name exists: the caller asks that (askYesNo).
    virtual std::optional<QString> chooseSaveName(const QString& proposed) = 0;

    // The Paths dialog showing current; the values confirmed with OK, or nothing.
    virtual std::optional<PathSettings> editPaths(const PathSettings& current) = 0;

    // The About box, until the user closes it.
    virtual void showAbout() = 0;

    // A plain notice: the text, one OK button, no icon, the application title.
    virtual void showMessage(const QString& text) = 0;

    // What a command could not do: the text (one line per file), the warning icon, one
    // OK button, the application title.
    virtual void showWarning(const QString& text) = 0;

    // A question with the buttons Yes and No, the question icon and the application
    // title; true for Yes, false for No or when the box is closed.
    virtual bool askYesNo(const QString& question) = 0;

    // A question that goes on with the button proceed or stops with Cancel, the default
    // button; the warning icon, the application title. True for proceed.
    virtual bool askToProceed(const QString& question, const QString& proceed) = 0;

    // The platform's print dialog over printer, which it sets up as the user chooses;
    // true when the user chose to print.
    virtual bool choosePrinter(QPrinter& printer) = 0;

    // The print preview of what paint draws on printer (and on any printer the preview
    // is printed to from there), until the user closes it.
    virtual void previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) = 0;

    // The standard error box: the message (with a full stop added when it ends in a
    // character after ".") and, on a line of its own, the reason when there is one; the
    // error icon, one OK button, the application title.
    virtual void showError(const QString& message, const QString& reason) = 0;
};
