#pragma once
// Every modal question the program asks goes through this seam. The program uses
// QtPrompts (real dialogs); tests pass a scripted one that answers without a dialog.

#include <QString>
#include <optional>

class QDialog;
class QWidget;
class FolderBrowseDialog;

class Prompts {
public:
    virtual ~Prompts() = default;

    // Runs the folder browse dialog; true on OK, when dialog.selectedFolder holds the
    // chosen folder. On cancel selectedFolder keeps its preset.
    virtual bool browseForFolder(FolderBrowseDialog& dialog) = 0;

    // The platform's save dialog preset with proposed (a full path); the chosen name,
    // or nothing on cancel. No overwrite question, no filter, no default suffix.
    virtual std::optional<QString> chooseSaveName(QWidget* parent, const QString& proposed) = 0;

    // A plain notice: the text, one OK button, no icon, the application title.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;

    // The standard error box: the message (with a full stop added when it ends in a
    // character after "."), the error icon, one OK button, the application title.
    virtual void showError(QWidget* parent, const QString& message) = 0;

    // Runs one of the program's own modal dialogs and gives its result (QDialog::exec).
    virtual int execDialog(QDialog& dialog) = 0;
};
