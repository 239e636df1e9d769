#pragma once
// The About box: a fixed dialog with a picture, the product name, the version and a
// notice, centred on the screen each time it is shown. OK, Enter and Esc close it with
// QDialog::Accepted; the close box gives QDialog::Rejected. It keeps no state between
// showings.

#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QPixmap;
class QPushButton;
class QShowEvent;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // The picture shown in ProgramIcon, drawn by the program: 625 x 267 pixels.
    static QPixmap picture();

    QFrame* Panel1;
    QLabel* ProgramIcon; // child of Panel1; the picture stretched over the panel's inside
    QLabel* ProductName; // child of Panel1
    QLabel* Version;     // child of Panel1
    QLabel* Notice;      // child of Panel1
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
