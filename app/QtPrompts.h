#pragma once
// The prompts the program shows: real Qt dialogs and message boxes over the window the
// user is working in, titled with the application title.

#include "dialogs/Prompts.h"

class QWidget;

class QtPrompts : public Prompts {
public:
    std::optional<QString> browseForFolder(const QString& title, const QString& start) override;
    std::optional<QString> chooseFolderInDialog(const QString& title,
                                                const QString& start) override;
    std::optional<QString> chooseSaveName(const QString& proposed) override;
    std::optional<PathSettings> editPaths(const PathSettings& current) override;
    void showAbout() override;
    void showMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    void showError(const QString& message) override;

private:
    // The modal dialog or window the user is in now; none before the first is shown.
    static QWidget* parentWindow();
};
