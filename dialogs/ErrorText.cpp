#include "dialogs/ErrorText.h"

QString errorBoxText(const QString& message, const QString& reason) {
    QString text = message;
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    return text;
}
