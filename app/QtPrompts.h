#pragma once
// The prompts the program shows: real Qt dialogs and message boxes over the window the
// user is working in, titled with the application title. The Paths dialog comes back
// at the size the user last gave it, kept in the settings store.

#include "dialogs/Prompts.h"

class QWidget;
class SettingsStore;

class QtPrompts : public Prompts {
public:
    explicit QtPrompts(SettingsStore& store);

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
    bool choosePrinter(QPrinter& printer) override;
    void previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;
    void showError(const QString& message, const QString& reason) override;

private:
    // The modal dialog or window the user is in now; none before the first is shown.
    static QWidget* parentWindow();

    SettingsStore& store_;
};
