#pragma once
// A label at a fixed place on a form, sized to its text.

#include <QString>

class QLabel;
class QWidget;

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int left, int top);
