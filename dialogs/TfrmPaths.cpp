#include "dialogs/TfrmPaths.h"

#include "dialogs/ClubNumberField.h"
#include "dialogs/PlacedLabel.h"
#include "dialogs/TabcDirectoryEdit.h"

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

TabcDirectoryEdit* addFolderField(Prompts& prompts, QWidget* parent, const char* name,
                                  QLabel* label, int top) {
    auto* edit = new TabcDirectoryEdit(prompts, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(label->text());
    edit->setGeometry(16, top, 273, 21);
    label->setBuddy(edit);
    return edit;
}

} // namespace

TfrmPaths::TfrmPaths(Prompts& prompts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPaths"));
    setWindowTitle(QStringLiteral("Paths to files"));
    // An ordinary resizable frame with minimize and maximize boxes; without a layout
    // the controls keep their places when the window is resized.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    resize(410, 185);
    move(401, 188);

    Label1 = addLabel(this, "Label1", QStringLiteral("Path to masterpont files"), 16, 16);
    MPPath = addFolderField(prompts, this, "MPPath", Label1, 32);
    Label2 = addLabel(this, "Label2", QStringLiteral("Path to backup files"), 16, 64);
    BUPath = addFolderField(prompts, this, "BUPath", Label2, 88);

    Button1 = addButton(this, "Button1", QStringLiteral("OK"), 312, 32);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    Button2 = addButton(this, "Button2", QStringLiteral("cancel"), 312, 80);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    Label3 = addLabel(this, "Label3", QStringLiteral("Kavra Club No."), 80, 129);
    // The label was laid out for a narrower font; where the system font is wider it
    // moves left so that it still ends before the field instead of running under it.
    const int labelRight = 151 - 6;
    if (Label3->x() + Label3->width() > labelRight)
        Label3->move(labelRight - Label3->width(), Label3->y());
    ClubNo = new ClubNumberField(this);
    ClubNo->setObjectName(QStringLiteral("ClubNo"));
    ClubNo->setAccessibleName(Label3->text());
    ClubNo->setGeometry(151, 124, 42, 21);
    Label3->setBuddy(ClubNo);

    setTabOrder(MPPath, BUPath);
    setTabOrder(BUPath, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, ClubNo);
    MPPath->setFocus();
}
