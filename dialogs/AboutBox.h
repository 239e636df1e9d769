#pragma once
// The About box: a fixed dialog with a picture, the product name, the version and a
// notice, centred on the screen each time it is shown. OK, Enter and Esc close it with
// QDialog::Accepted; the close box gives QDialog::Rejected. It keeps no state between
// showings.

#include <QDialog>

class QFrame;
class QKeyEvent;
class QPushButton;
class QShowEvent;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* pictureFrame_; // the framed panel: the picture with the texts over it
    QPushButton* okButton_;
};
