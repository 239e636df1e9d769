#pragma once
// The folder browse dialog. Callers set the title (window title) and the selected folder
// (the folder to preselect, empty for none) before each run(); after a run() that
// answers true, selectedFolder() is the chosen folder, without a trailing separator
// except for the root. The caption is the instruction shown above the folder view.

#include <QObject>
#include <QString>

class QWidget;

class FolderBrowseDialog : public QObject {
    Q_OBJECT
public:
    explicit FolderBrowseDialog(QWidget* owner);

    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    QString caption() const { return caption_; }
    void setCaption(const QString& caption) { caption_ = caption; }
    QString selectedFolder() const { return selectedFolder_; }
    void setSelectedFolder(const QString& folder) { selectedFolder_ = folder; }

    // Shows the dialog modally over its owner; true when a folder was chosen with OK.
    bool run();

private:
    QWidget* owner_;
    QString title_ = QStringLiteral("Browser for masterpoint files");
    QString caption_ = QStringLiteral("Masterpoint files folder");
    QString selectedFolder_;
};
