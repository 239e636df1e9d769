#pragma once
// A fresh copy of the sample month that ships with the program, to try every command on
// without touching the user's own files or settings. The copy is a new folder of the
// user's own, <temporary folder>/mpmgr-sample-XXXXXX, that holds:
//   MP/                           the sample's masterpoint files: the masterpoint folder
//   Backup/                       an empty backup folder
//   Kavra_Masterpoint_files.ini   the sample's settings: those two folders, club 612
// The folder, with whatever was made in it, is removed when the object is destroyed.

#include <QStringList>
#include <QTemporaryDir>
#include <stdexcept>

// Why the sample could not be made; the message is what the user is shown.
class SampleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SampleMonth {
public:
    // Copies the first of sources that is a folder. Throws SampleError when none is, or
    // when the copy or its settings cannot be made (nothing is left behind then).
    explicit SampleMonth(const QStringList& sources = defaultSources());

    // Where the program looks for the sample, in order: beside the executable as the
    // package lays it out, where the package installs it, and in the source tree the
    // program was built from.
    static QStringList defaultSources();

    QString folder() const;
    QString masterpointFolder() const;
    QString settingsLocation() const;

    // Points the toolkit's own per-user settings (those of its file dialog) into the
    // sample's folder too, for the rest of the run.
    void keepToolkitSettingsHere() const;

private:
    QTemporaryDir folder_;
};
