#pragma once
// Saving a window's table to a file, as every window with a table does it. The name is
// asked for through the prompts seam: proposed as the window's file name with the new
// suffix ("CLUB0612.GLD" gives "CLUB0612.csv"), in the folder a table was last saved
// to (kept in the settings store, Paths/SaveFolder), else the user's documents folder
// (else the home folder).
// A name that is taken (a link too, even one that leads nowhere) is replaced only when
// the user says Yes to "CLUB0612.csv already exists. Do you want to replace it?"; No
// goes back to the save dialog at the name chosen.
//
// saveCsv writes the table in the order shown (mp::CsvWriter, through the atomic
// file) and answers what the window's status line says: "Saved 150 lines to
// /path/CLUB0612.csv" ("1 line"). A file that cannot be written is shown in the error
// box with the system's reason, once, and nothing is answered; so is a cancel.

#include "masterpoint/RowOrder.h"
#include "masterpoint/Table.h"

#include <QString>
#include <optional>

class Prompts;
class SettingsStore;

class TableSaver {
public:
    TableSaver(Prompts& prompts, SettingsStore& store);

    // The path chosen to save baseName's table under with suffix (".csv"), the replace
    // question answered Yes where it was asked; nothing on cancel. Remembers nothing.
    std::optional<QString> chooseName(const QString& baseName, const QString& suffix);
    // Keeps path's folder as the folder last saved to; a store that cannot be written
    // is logged, never shown.
    void keepFolderOf(const QString& path);

    // Save as CSV: the status text, or nothing when cancelled or failed.
    std::optional<QString> saveCsv(const mp::Table& table, const mp::RowOrder& order,
                                   const QString& baseName);

    // The save dialog at proposed, then the replace question for a name that is taken,
    // until a name is free or may be replaced; nothing on cancel. replaced, when given,
    // says which of the two: a name found free must later be taken without replacing.
    static std::optional<QString> askSaveName(Prompts& prompts, const QString& proposed,
                                              bool* replaced = nullptr);

private:
    Prompts& prompts_;
    SettingsStore& store_;
};
