#include "dialogs/PathsDialog.h"

#include "dialogs/ClubNumberField.h"
#include "dialogs/DialogControls.h"
#include "dialogs/DirectoryEdit.h"
#include "widgets/DesignSize.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace {

DirectoryEdit* addFolderField(Prompts& prompts, QWidget* parent, const char* name) {
    auto* edit = new DirectoryEdit(prompts, parent);
    edit->setObjectName(QLatin1String(name));
    // The dialog opens with the drawn width scaled by the font; the field may still be
    // made as narrow as it was drawn, so that with a large font the dialog fits a small
    // screen (the whole path is in the field's tool tip).
    edit->setMinimumWidth(273);
    return edit;
}

// Wide enough for the four digits the field takes, with a digit to spare, and never
// narrower than drawn; a stored number out of range may be longer and is cut.
int clubNumberWidth(const ClubNumberField* field) {
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const QSize text(field->fontMetrics().horizontalAdvance(QStringLiteral("99999")),
                     field->fontMetrics().height());
    const int needed =
        field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, field).width();
    return std::max(needed, designPixels(42, field->font()));
}

} // namespace

PathsDialog::PathsDialog(Prompts& prompts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PathsDialog"));
    setWindowTitle(QStringLiteral("Paths to files"));
    // An ordinary resizable frame with minimize and maximize boxes.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    const QFont& font = this->font();

    masterpointFolderEdit_ = addFolderField(prompts, this, "masterpointFolderEdit");
    QLabel* masterpointFolderLabel =
        addBuddyLabel(this, "masterpointFolderLabel", QStringLiteral("Path to &masterpont files"),
                      masterpointFolderEdit_);
    backupFolderEdit_ = addFolderField(prompts, this, "backupFolderEdit");
    QLabel* backupFolderLabel = addBuddyLabel(
        this, "backupFolderLabel", QStringLiteral("Path to &backup files"), backupFolderEdit_);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* okButton = addDialogButton(buttons, "okButton", QStringLiteral("OK"),
                                            QDialogButtonBox::AcceptRole, QSize(75, 25));
    okButton->setDefault(true);
    QPushButton* cancelButton = addDialogButton(buttons, "cancelButton", QStringLiteral("cancel"),
                                                QDialogButtonBox::RejectRole, QSize(75, 25));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    clubNumberField_ = new ClubNumberField(this);
    clubNumberField_->setObjectName(QStringLiteral("clubNumberField"));
    clubNumberField_->setFixedWidth(clubNumberWidth(clubNumberField_));
    QLabel* clubNumberLabel =
        addBuddyLabel(this, "clubNumberLabel", QStringLiteral("Kavra &Club No."), clubNumberField_);

    // The fields in a column that takes every extra pixel of width, OK and cancel at its
    // right beside the first field, the club number indented under the folders.
    auto* clubRow = new QHBoxLayout;
    clubRow->addSpacing(designPixels(64, font));
    clubRow->addWidget(clubNumberLabel);
    clubRow->addWidget(clubNumberField_);
    clubRow->addStretch(1);

    const int gap = designPixels(8, font);
    auto* grid = new QGridLayout(this);
    const int margin = designPixels(16, font);
    grid->setContentsMargins(margin, margin, margin, margin);
    grid->setHorizontalSpacing(designPixels(23, font));
    grid->setVerticalSpacing(designPixels(3, font));
    grid->addWidget(masterpointFolderLabel, 0, 0);
    grid->addWidget(masterpointFolderEdit_, 1, 0);
    grid->addItem(new QSpacerItem(0, gap, QSizePolicy::Minimum, QSizePolicy::Fixed), 2, 0);
    grid->addWidget(backupFolderLabel, 3, 0);
    grid->addWidget(backupFolderEdit_, 4, 0);
    grid->addItem(new QSpacerItem(0, gap, QSizePolicy::Minimum, QSizePolicy::Fixed), 5, 0);
    grid->addLayout(clubRow, 6, 0);
    grid->setRowStretch(7, 1);
    grid->addWidget(buttons, 1, 1, 6, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);

    setTabOrder(masterpointFolderEdit_, backupFolderEdit_);
    setTabOrder(backupFolderEdit_, okButton);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, clubNumberField_);
    masterpointFolderEdit_->setFocus();

    resize(designSize(QSize(410, 185), font).expandedTo(sizeHint()));
    move(401, 188);
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
