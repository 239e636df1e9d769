#pragma once
// The log of what went wrong with files ("mpmgr.files"): the detail behind each message
// the user sees, for whoever looks into a report.

#include <QLoggingCategory>
#include <system_error>

Q_DECLARE_LOGGING_CATEGORY(filesLog)

// Logs a failure as the user was told it, followed by the system's reason in brackets
// when there is one.
void logFailure(const QString& message, std::error_code reason = {});
