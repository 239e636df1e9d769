#pragma once
// The folder browse dialog. Callers set title (window title) and selectedFolder (the
// folder to preselect, empty for none) before each run(); after a run() that answers
// true, selectedFolder holds the chosen folder, without a trailing separator except
// for the root. caption is the instruction shown above the folder view.

#include <QObject>
#include <QString>

class QWidget;

class FolderBrowseDialog : public QObject {
    Q_OBJECT
public:
    explicit FolderBrowseDialog(QWidget* owner);

    QString title = QStringLiteral("Browser for masterpoint files");
    QString caption = QStringLiteral("Masterpoint files folder");
    QString selectedFolder;

    // Shows the dialog modally over its owner; true when a folder was chosen with OK.
    bool run();

private:
    QWidget* owner_;
};
