#pragma once
// The "Paths to files" dialog: the masterpoint folder, the backup folder and the club
// number. It holds the controls only; whoever opens it loads them before and reads
// them after a run that ends with OK. Button1 (OK, the default button) gives
// QDialog::Accepted; Button2, Esc and the close box give QDialog::Rejected.

#include <QDialog>

class Prompts;
class QLabel;
class QPushButton;
class TabcDirectoryEdit;
class ClubNumberField;

class TfrmPaths : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPaths(Prompts& prompts, QWidget* parent = nullptr);

    QLabel* Label1;
    TabcDirectoryEdit* MPPath;
    QLabel* Label2;
    TabcDirectoryEdit* BUPath;
    QPushButton* Button1;
    QPushButton* Button2;
    QLabel* Label3;
    ClubNumberField* ClubNo;
};
