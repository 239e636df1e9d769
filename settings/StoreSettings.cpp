#include "settings/StoreSettings.h"

#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

#include <QFile>

using namespace SettingsNames;

static std::string toBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string StoreSettings::masterpointFolder() const {
    return toBytes(store_.readString(Paths, MasterpointFolder, QString()));
}

std::string StoreSettings::backupFolder() const {
    return toBytes(store_.readString(Paths, BackupFolder, QString()));
}

int StoreSettings::clubNumber() const {
    return store_.readInteger(Paths, ClubNumber, 0);
}
