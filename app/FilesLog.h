#pragma once
// The log of what went wrong with files ("mpmgr.files"): the detail behind each message
// the user sees, for whoever looks into a report.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(filesLog)
