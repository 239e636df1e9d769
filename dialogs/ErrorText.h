#pragma once
// The text of the standard error box: the message with a full stop appended when it is
// not empty and its last character sorts after "." (a letter or digit gets one; ".",
// ")" or "!" does not), then the reason, when there is one, on a line of its own.

#include <QString>

QString errorBoxText(const QString& message, const QString& reason = QString());
