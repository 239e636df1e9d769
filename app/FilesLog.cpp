#include "app/FilesLog.h"

Q_LOGGING_CATEGORY(filesLog, "mpmgr.files")
