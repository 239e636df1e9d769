#pragma once
// The "Choose Folder" dialog of the directory edit: a fixed-size window, centred on the
// screen, showing one open folder at a time. Its path stands above a folder tree that
// lists the folders above it, the open folder itself and the folders in it; below is a
// box of the mounted volumes. Double-clicking a folder opens it, a single click only
// highlights it, and the arrow keys move the highlight; Enter opens the highlighted
// folder, and on the open folder itself presses OK. Choosing a volume opens its root.
// OK chooses the open folder, never a merely highlighted one; Cancel, Esc and the close
// box choose nothing.
//
// Paths are given in the platform's separators, absolute, with no separator at the
// end except for a root. The dialog does not change the program's working folder.

#include <QDialog>
#include <QString>

class Prompts;
class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

class ChooseFolderDialog : public QDialog {
    Q_OBJECT
public:
    // Opens startFolder (relative to the working folder if relative). If startFolder is
    // not empty and cannot be opened, the reason is shown through prompts before the
    // dialog appears, and the working folder is opened instead, as for an empty one.
    explicit ChooseFolderDialog(Prompts& prompts, const QString& startFolder,
                                QWidget* parent = nullptr);

    // What OK chooses: the open folder.
    QString chosenFolder() const;

    // Opens folder: it becomes the open folder shown by the path label, the tree and
    // the drive box. When it cannot be opened, the reason is shown through prompts,
    // nothing changes and the answer is false.
    bool openFolderAt(const QString& folder);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillDrives();
    void showOpenFolder();
    void showPath();
    void openItem(QTreeWidgetItem* item);
    void openDrive(int index);
    bool enterFolder(const QString& folder, bool report);

    Prompts& prompts_;
    QString open_; // absolute, clean, '/' separators
    QLabel* pathLabel_;
    QTreeWidget* tree_;
    QComboBox* drives_;
};
