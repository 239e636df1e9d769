#pragma once
// The "Paths to files" dialog: the masterpoint folder, the backup folder and the club
// number, with OK and cancel at the right. Whoever opens it loads the values before
// (setValues) and reads them after a run that ends with OK (values). OK, the default
// button, gives QDialog::Accepted; cancel, Esc and the close box give
// QDialog::Rejected. Each label's access key puts the focus in its field; the folder
// fields grow in width with the dialog.

#include "dialogs/Prompts.h"

#include <QDialog>

class ClubNumberField;
class DirectoryEdit;
class Prompts;

class PathsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PathsDialog(Prompts& prompts, QWidget* parent = nullptr);

    // Fills the fields; each folder field's dialog starts at its folder.
    void setValues(const PathSettings& values);
    // What the fields hold now.
    PathSettings values() const;

private:
    DirectoryEdit* masterpointFolderEdit_;
    DirectoryEdit* backupFolderEdit_;
    ClubNumberField* clubNumberField_;
};
