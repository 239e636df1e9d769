#pragma once
// The folder browse dialog. Callers set the title (window title) and the selected folder
// (the folder to preselect, empty for none) before each run(); after a run() that
// answers true, selectedFolder() is the chosen folder, without a trailing separator
// except for the root. Above the folder view it always reads "Masterpoint files folder",
// whichever folder is asked for. Below the folder view stands the check box "Remember
// this folder", ticked as setRemember() says; remember() is its state after OK.

#include <QObject>
#include <QString>

class QWidget;

class FolderBrowseDialog : public QObject {
    Q_OBJECT
public:
    explicit FolderBrowseDialog(QWidget* owner);

    void setTitle(const QString& title) { title_ = title; }
    QString selectedFolder() const { return selectedFolder_; }
    void setSelectedFolder(const QString& folder) { selectedFolder_ = folder; }
    void setRemember(bool remember) { remember_ = remember; }
    bool remember() const { return remember_; }

    // Shows the dialog modally over its owner; true when a folder was chosen with OK.
    bool run();

private:
    QWidget* owner_;
    QString title_ = QStringLiteral("Browser for masterpoint files");
    QString selectedFolder_;
    bool remember_ = true;
};
