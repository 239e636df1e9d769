#pragma once
// The labels and buttons every dialog makes the same way.

#include <QDialogButtonBox>
#include <QSize>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// A label whose access key (the letter after "&") puts the focus in buddy; the buddy is
// known to assistive tools by the label's text without the "&".
QLabel* addBuddyLabel(QWidget* parent, const char* name, const QString& text, QWidget* buddy);

// A button of box in role, known by its caption, never smaller than designPixels
// scaled by the box's font (designSize).
QPushButton* addDialogButton(QDialogButtonBox* box, const char* name, const QString& text,
                             QDialogButtonBox::ButtonRole role, const QSize& designPixels);
