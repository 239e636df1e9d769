#include "widgets/TableSaver.h"

#include "dialogs/Prompts.h"
#include "masterpoint/CsvWriter.h"
#include "masterpoint/Error.h"
#include "masterpoint/FileSystem.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "widgets/NameText.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QStandardPaths>

namespace {

Q_LOGGING_CATEGORY(savingLog, "mpmgr.files")

// The system's reason as a line of its own: "No space left on device".
QString plainReason(std::error_code reason) {
    if (!reason)
        return QString();
    QString text = textOfBytes(mp::describe(reason));
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace

TableSaver::TableSaver(Prompts& prompts, SettingsStore& store) : prompts_(prompts), store_(store) {}

std::optional<QString> TableSaver::askSaveName(Prompts& prompts, const QString& proposed,
                                               bool* replaced) {
    QString name = proposed;
    for (;;) {
        const std::optional<QString> chosen = prompts.chooseSaveName(name);
        if (!chosen)
            return std::nullopt;
        // A link there is a name taken too, even when it leads nowhere.
        const QFileInfo there(*chosen);
        const bool taken = there.exists() || there.isSymLink();
        if (!taken || prompts.askYesNo(QStringLiteral("%1 already exists. Do you want to replace "
                                                      "it?")
                                           .arg(there.fileName()))) {
            if (replaced != nullptr)
                *replaced = taken;
            return chosen;
        }
        name = *chosen; // back to the dialog, at the name the user chose
    }
}

std::optional<QString> TableSaver::chooseName(const QString& baseName, const QString& suffix) {
    QString folder;
    try {
        folder = store_.readString(SettingsNames::Paths, SettingsNames::SaveFolder, QString());
    } catch (const std::exception& error) {
        qCWarning(savingLog).noquote() << "Ignored the folder last saved to:" << error.what();
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A documents folder that was never made is no place to start the dialog in.
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    // "CLUB0612.GLD" and "CLUB0613.MP1(GLD)" alike lose what follows their first dot.
    const QString stem = QFileInfo(baseName).completeBaseName();
    const QString name = (stem.isEmpty() ? baseName : stem) + suffix;
    return askSaveName(prompts_, QDir(folder).filePath(name));
}

void TableSaver::keepFolderOf(const QString& path) {
    try {
        store_.writeString(SettingsNames::Paths, SettingsNames::SaveFolder,
                           QFileInfo(path).absolutePath());
    } catch (const std::exception& error) {
        qCWarning(savingLog).noquote()
            << "Could not keep the folder last saved to:" << error.what();
    }
}

std::optional<QString> TableSaver::saveCsv(const mp::Table& table, const mp::RowOrder& order,
                                           const QString& baseName) {
    const std::optional<QString> path = chooseName(baseName, QStringLiteral(".csv"));
    if (!path)
        return std::nullopt;
    std::uint64_t rows = 0;
    try {
        rows = mp::CsvWriter::write(table, order, bytesOfText(*path));
    } catch (const mp::Error& error) {
        const QString message = textOfBytes(error.what());
        qCWarning(savingLog).noquote() << message << plainReason(error.reason());
        prompts_.showError(message, plainReason(error.reason()));
        return std::nullopt;
    }
    keepFolderOf(*path);
    const QString lines =
        rows == 1 ? QStringLiteral("1 line")
                  : QStringLiteral("%1 lines").arg(QLocale::system().toString(qulonglong(rows)));
    return QStringLiteral("Saved %1 to %2").arg(lines, QDir::toNativeSeparators(*path));
}
