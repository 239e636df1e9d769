#pragma once
// The prompts the program shows: real Qt dialogs and message boxes, titled with the
// application title.

#include "dialogs/Prompts.h"

class QtPrompts : public Prompts {
public:
    bool browseForFolder(FolderBrowseDialog& dialog) override;
    std::optional<QString> chooseSaveName(QWidget* parent, const QString& proposed) override;
    void showMessage(QWidget* parent, const QString& text) override;
    void showError(QWidget* parent, const QString& message) override;
    int execDialog(QDialog& dialog) override;
};
