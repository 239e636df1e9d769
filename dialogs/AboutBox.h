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

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // The picture the box shows, drawn by the program: 625 x 267 pixels.
    static QPixmap drawPicture();

    // The framed panel that holds the picture and the texts on it.
    QFrame* pictureFrame() const { return pictureFrame_; }
    // The picture stretched over the panel's inside.
    QLabel* picture() const { return picture_; }
    QLabel* productName() const { return productName_; }
    QLabel* version() const { return version_; }
    QLabel* notice() const { return notice_; }
    QPushButton* okButton() const { return okButton_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* pictureFrame_;
    QLabel* picture_; // the panel's children, the picture first so it lies underneath
    QLabel* productName_;
    QLabel* version_;
    QLabel* notice_;
    QPushButton* okButton_;
};
