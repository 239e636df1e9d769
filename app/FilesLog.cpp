#include "app/FilesLog.h"

#include "app/NameText.h"

Q_LOGGING_CATEGORY(filesLog, "mpmgr.files")

void logFailure(const QString& message, std::error_code reason) {
    if (reason)
        qCWarning(filesLog).noquote()
            << message << QStringLiteral("(%1)").arg(textOfBytes(reason.message()));
    else
        qCWarning(filesLog).noquote() << message;
}
