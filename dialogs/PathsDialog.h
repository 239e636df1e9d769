#pragma once
// The "Paths to files" dialog: the masterpoint folder, the backup folder and the club
// number. Whoever opens it loads the values before (setValues) and reads them after a
// run that ends with OK (values). OK, the default button, gives QDialog::Accepted;
// cancel, Esc and the close box give QDialog::Rejected.

#include "dialogs/Prompts.h"

#include <QDialog>

class ClubNumberField;
class DirectoryEdit;
class Prompts;
class QLabel;
class QPushButton;

class PathsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PathsDialog(Prompts& prompts, QWidget* parent = nullptr);

    // Fills the fields; each folder field's dialog starts at its folder.
    void setValues(const PathSettings& values);
    // What the fields hold now.
    PathSettings values() const;

    QLabel* masterpointFolderLabel() const { return masterpointFolderLabel_; }
    DirectoryEdit* masterpointFolderEdit() const { return masterpointFolderEdit_; }
    QLabel* backupFolderLabel() const { return backupFolderLabel_; }
    DirectoryEdit* backupFolderEdit() const { return backupFolderEdit_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QLabel* clubNumberLabel() const { return clubNumberLabel_; }
    ClubNumberField* clubNumberField() const { return clubNumberField_; }

private:
    QLabel* masterpointFolderLabel_;
    DirectoryEdit* masterpointFolderEdit_;
    QLabel* backupFolderLabel_;
    DirectoryEdit* backupFolderEdit_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QLabel* clubNumberLabel_;
    ClubNumberField* clubNumberField_;
};
