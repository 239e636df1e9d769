#pragma once
// The folder browse dialog. Callers set CaptionTitle (window title) and SelectedFolder
// (the folder to preselect, empty for none) before each Run; after a Run that answers
// true, SelectedFolder holds the chosen folder, without a trailing separator except
// for the root. Caption is the instruction shown above the folder view.

#include <QObject>
#include <QString>

class QWidget;

class TLMDBrowseDlg : public QObject {
    Q_OBJECT
public:
    explicit TLMDBrowseDlg(QWidget* owner);

    QString CaptionTitle = QStringLiteral("Browser for masterpoint files");
    QString Caption = QStringLiteral("Masterpoint files folder");
    QString SelectedFolder;

    // Shows the dialog modally over its owner; true when a folder was chosen with OK.
    bool Run();

private:
    QWidget* owner_;
};
