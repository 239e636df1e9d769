#include "dialogs/DialogControls.h"

#include "widgets/DesignSize.h"

#include <QLabel>
#include <QPushButton>

QLabel* addBuddyLabel(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return label;
}

QPushButton* addDialogButton(QDialogButtonBox* box, const char* name, const QString& text,
                             QDialogButtonBox::ButtonRole role, const QSize& designPixels) {
    QPushButton* button = box->addButton(text, role);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(text);
    button->setMinimumSize(designSize(designPixels, box->font()));
    return button;
}
