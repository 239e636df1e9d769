#pragma once
// Names of the stored settings, as they stand in the store.

#include <QString>

namespace SettingsNames {
inline const QString ApplicationName = QStringLiteral("Kavra_Masterpoint_files");
inline const QString Paths = QStringLiteral("paths");
inline const QString Options = QStringLiteral("Options");
inline const QString MasterpointFolder = QStringLiteral("Quillet");
inline const QString BackupFolder = QStringLiteral("backup");
// The folder a table was last saved to (Save as CSV..., Save as PDF...), in
// section Paths.
inline const QString SaveFolder = QStringLiteral("SaveFolder");
inline const QString ClubNumber = QStringLiteral("ClubNo");
inline const QString LocateOnOpen = QStringLiteral("LocateOnOpen");
inline const QString ConvertExtensions = QStringLiteral("Convertextensions");
} // namespace SettingsNames
