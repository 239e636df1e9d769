#include "settings/StoreSettings.h"

#include "settings/SettingsNames.h"
#include "settings/TRegIniFile.h"

#include <QFile>

using namespace SettingsNames;

static std::string toBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string StoreSettings::masterpointFolder() const {
    return toBytes(store_.ReadString(Paths, MasterpointFolder, QString()));
}

std::string StoreSettings::backupFolder() const {
    return toBytes(store_.ReadString(Paths, BackupFolder, QString()));
}

int StoreSettings::clubNumber() const {
    return store_.ReadInteger(Paths, ClubNumber, 0);
}
