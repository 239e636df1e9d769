#include "dialogs/PathsDialog.h"

#include "dialogs/ClubNumberField.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/PlacedLabel.h"

#include <QLabel>
#include <QPushButton>

namespace {

QPushButton* addButton(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(text);
    button->setGeometry(left, top, 75, 25);
    return button;
}

DirectoryEdit* addFolderField(Prompts& prompts, QWidget* parent, const char* name, QLabel* label,
                              int top) {
    auto* edit = new DirectoryEdit(prompts, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(label->text());
    edit->setGeometry(16, top, 273, 21);
    label->setBuddy(edit);
    return edit;
}

} // namespace

PathsDialog::PathsDialog(Prompts& prompts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PathsDialog"));
    setWindowTitle(QStringLiteral("Paths to files"));
    // An ordinary resizable frame with minimize and maximize boxes; without a layout
    // the controls keep their places when the window is resized.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(410, 185);
    move(401, 188);

    masterpointFolderLabel_ = addLabel(this, "masterpointFolderLabel",
                                       QStringLiteral("Path to masterpont files"), 16, 16);
    masterpointFolderEdit_ =
        addFolderField(prompts, this, "masterpointFolderEdit", masterpointFolderLabel_, 32);
    backupFolderLabel_ =
        addLabel(this, "backupFolderLabel", QStringLiteral("Path to backup files"), 16, 64);
    backupFolderEdit_ = addFolderField(prompts, this, "backupFolderEdit", backupFolderLabel_, 88);

    okButton_ = addButton(this, "okButton", QStringLiteral("OK"), 312, 32);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    cancelButton_ = addButton(this, "cancelButton", QStringLiteral("cancel"), 312, 80);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    clubNumberLabel_ = addLabel(this, "clubNumberLabel", QStringLiteral("Kavra Club No."), 80, 129);
    // The label was laid out for a narrower font; where the system font is wider it
    // moves left so that it still ends before the field instead of running under it.
    const int labelRight = 151 - 6;
    if (clubNumberLabel_->x() + clubNumberLabel_->width() > labelRight)
        clubNumberLabel_->move(labelRight - clubNumberLabel_->width(), clubNumberLabel_->y());
    clubNumberField_ = new ClubNumberField(this);
    clubNumberField_->setObjectName(QStringLiteral("clubNumberField"));
    clubNumberField_->setAccessibleName(clubNumberLabel_->text());
    clubNumberField_->setGeometry(151, 124, 42, 21);
    clubNumberLabel_->setBuddy(clubNumberField_);

    setTabOrder(masterpointFolderEdit_, backupFolderEdit_);
    setTabOrder(backupFolderEdit_, okButton_);
    setTabOrder(okButton_, cancelButton_);
    setTabOrder(cancelButton_, clubNumberField_);
    masterpointFolderEdit_->setFocus();
}

void PathsDialog::setValues(const PathSettings& values) {
    clubNumberField_->setAsInteger(values.clubNumber);
    masterpointFolderEdit_->setText(values.masterpointFolder);
    masterpointFolderEdit_->setStartFolder(values.masterpointFolder);
    backupFolderEdit_->setText(values.backupFolder);
    backupFolderEdit_->setStartFolder(values.backupFolder);
}

PathSettings PathsDialog::values() const {
    PathSettings values;
    values.masterpointFolder = masterpointFolderEdit_->text();
    values.backupFolder = backupFolderEdit_->text();
    values.clubNumber = clubNumberField_->asInteger();
    return values;
}
