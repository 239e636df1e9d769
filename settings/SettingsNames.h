#pragma once
// Names of the stored settings, as they stand in the store.

#include <QString>

namespace SettingsNames {
inline const QString ApplicationName = QStringLiteral("Kavra_Masterpoint_files");
inline const QString Paths = QStringLiteral("paths");
inline const QString Options = QStringLiteral("Options");
inline const QString MasterpointFolder = QStringLiteral("Quillet");
inline const QString BackupFolder = QStringLiteral("backup");
inline const QString ClubNumber = QStringLiteral("ClubNo");
inline const QString LocateOnOpen = QStringLiteral("LocateOnOpen");
inline const QString ConvertExtensions = QStringLiteral("Convertextensions");
// The folder a table was last saved to (PDF, CSV), where the next save is proposed.
inline const QString SaveFolder = QStringLiteral("SaveFolder");
} // namespace SettingsNames
