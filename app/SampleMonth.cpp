#include "app/SampleMonth.h"

#include "masterpoint/FileCopy.h"
#include "masterpoint/FileSystem.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr int SampleClubNumber = 612;

QString firstFolder(const QStringList& sources) {
    for (const QString& source : sources) {
        if (QFileInfo(source).isDir())
            return source;
    }
    throw SampleError(QStringLiteral("the sample month was not found in %1")
                          .arg(sources.join(QStringLiteral(", ")))
                          .toStdString());
}

} // namespace

SampleMonth::SampleMonth(const QStringList& sources)
    : folder_(QDir::tempPath() + QStringLiteral("/mpmgr-sample-XXXXXX")) {
    const QString source = firstFolder(sources);
    if (!folder_.isValid())
        throw SampleError(QStringLiteral("cannot make a folder for the sample month: %1")
                              .arg(folder_.errorString())
                              .toStdString());
    const QString backupFolder = folder_.filePath(QStringLiteral("Backup"));
    if (!QDir().mkdir(masterpointFolder()) || !QDir().mkdir(backupFolder))
        throw SampleError(QStringLiteral("cannot make the folders of the sample month in %1")
                              .arg(folder())
                              .toStdString());
    const QFileInfoList files = QDir(source).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        // A fresh folder holds nothing to replace; the copy's own rule still applies.
        const std::error_code error = mp::copyNoReplace(
            QFile::encodeName(file.absoluteFilePath()).toStdString(),
            QFile::encodeName(masterpointFolder() + QLatin1Char('/') + file.fileName())
                .toStdString());
        if (error)
            throw SampleError(
                QStringLiteral("cannot copy %1 into the sample month: %2")
                    .arg(file.absoluteFilePath(), QString::fromStdString(mp::describe(error)))
                    .toStdString());
    }
    try {
        SettingsStore store(settingsLocation());
        store.writeString(SettingsNames::Paths, SettingsNames::MasterpointFolder,
                          masterpointFolder());
        store.writeString(SettingsNames::Paths, SettingsNames::BackupFolder, backupFolder);
        store.writeInteger(SettingsNames::Paths, SettingsNames::ClubNumber, SampleClubNumber);
    } catch (const StoreError& error) {
        throw SampleError(error.what());
    }
}

QStringList SampleMonth::defaultSources() {
    QStringList sources{QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                        QStringLiteral(MPMGR_SAMPLE_FROM_EXECUTABLE)),
                        QStringLiteral(MPMGR_SAMPLE_INSTALLED),
                        QStringLiteral(MPMGR_SAMPLE_SOURCE)};
    sources.removeDuplicates();
    return sources;
}

QString SampleMonth::folder() const {
    return folder_.path();
}

QString SampleMonth::masterpointFolder() const {
    return folder_.filePath(QStringLiteral("MP"));
}

QString SampleMonth::settingsLocation() const {
    return folder_.filePath(SettingsNames::ApplicationName + QStringLiteral(".ini"));
}

void SampleMonth::keepToolkitSettingsHere() const {
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder());
}
