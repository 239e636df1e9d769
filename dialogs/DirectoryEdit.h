#pragma once
// A one-line folder field with a browse button inside its right end. The text is free:
// nothing checks it. The browse button, or Enter typed in the field, runs the "Choose
// Folder" dialog (through the Prompts seam) at the folder typed when it is a folder
// there, else at the start folder, which is kept apart from the text: typing never
// changes it. OK in the dialog sets
// both the start folder and the whole text to the chosen folder; cancel changes
// nothing. Enter never reaches the window's default button. When the field is disabled
// the button is greyed and does not react. The tool tip shows the whole text.

#include <QLineEdit>
#include <QString>

class Prompts;
class QToolButton;

class DirectoryEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DirectoryEdit(Prompts& prompts, QWidget* parent = nullptr);

    // Where the folder dialog opens (until OK there chooses another folder).
    void setStartFolder(const QString& folder) { startFolder_ = folder; }

public slots:
    // The browse action: runs the folder dialog modally as described above.
    void click();

signals:
    // After OK in the folder dialog, with the chosen folder (already in the text).
    void folderChosen(const QString& folder);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeButton();

    Prompts& prompts_;
    QToolButton* button_;
    QString startFolder_;
};
