#include "support/ScriptedPrompts.h"

#include "dialogs/ErrorText.h"

namespace {

// The value is taken out before the answer leaves the queue, and a fresh optional made
// of it: copying the optional itself draws a false "maybe uninitialised" from GCC 12.
template <typename T> std::optional<T> next(std::deque<std::optional<T>>& answers) {
    if (answers.empty())
        return std::nullopt;
    const bool answered = answers.front().has_value();
    T value = answered ? *answers.front() : T();
    answers.pop_front();
    if (!answered)
        return std::nullopt;
    return std::optional<T>(std::move(value));
}

QStringList withPrefix(const QStringList& records, const QString& prefix) {
    QStringList out;
    for (const QString& record : records)
        if (record.startsWith(prefix))
            out << record.mid(prefix.size());
    return out;
}

} // namespace

std::optional<FolderChoice> ScriptedPrompts::browseForFolder(const QString& title,
                                                             const QString& start, bool remember) {
    asked << QStringLiteral("browse:%1|%2").arg(title, start) +
                 (remember ? QString() : QStringLiteral("|unticked"));
    const std::optional<QString> folder = next(folderAnswers);
    if (!folder)
        return std::nullopt;
    if (!rememberAnswers.empty()) {
        remember = rememberAnswers.front();
        rememberAnswers.pop_front();
    }
    return FolderChoice{*folder, remember};
}

std::optional<QString> ScriptedPrompts::chooseFolderInDialog(const QString& start) {
    asked << QStringLiteral("directory:") + start;
    return next(directoryAnswers);
}

std::optional<QString> ScriptedPrompts::chooseSaveName(const QString& proposed) {
    asked << QStringLiteral("save:") + proposed;
    return next(saveAnswers);
}

std::optional<PathSettings> ScriptedPrompts::editPaths(const PathSettings& current) {
    asked << QStringLiteral("paths:%1|%2|%3")
                 .arg(current.masterpointFolder, current.backupFolder)
                 .arg(current.clubNumber);
    return next(pathsAnswers);
}

void ScriptedPrompts::showAbout() {
    asked << QStringLiteral("about");
}

bool ScriptedPrompts::askToProceed(const QString& question, const QString& proceed) {
    asked << QStringLiteral("proceed:%1|%2").arg(proceed, question);
    if (proceedAnswers.empty())
        return false;
    const bool answer = proceedAnswers.front();
    proceedAnswers.pop_front();
    return answer;
}

void ScriptedPrompts::showMessage(const QString& text) {
    asked << QStringLiteral("message:") + text;
}

void ScriptedPrompts::showWarning(const QString& text) {
    asked << QStringLiteral("warning:") + text;
}

bool ScriptedPrompts::choosePrinter(QPrinter&) {
    asked << QStringLiteral("print");
    if (printAnswers.empty())
        return false;
    const bool print = printAnswers.front();
    printAnswers.pop_front();
    return print;
}

void ScriptedPrompts::previewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    asked << QStringLiteral("preview");
    paint(printer);
}

bool ScriptedPrompts::askYesNo(const QString& question) {
    asked << QStringLiteral("question:") + question;
    if (yesNoAnswers.empty())
        return false;
    const bool yes = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return yes;
}

void ScriptedPrompts::showError(const QString& message, const QString& reason) {
    asked << QStringLiteral("error:") + errorBoxText(message, reason);
}

QStringList ScriptedPrompts::messages() const {
    return withPrefix(asked, QStringLiteral("message:"));
}

QStringList ScriptedPrompts::warnings() const {
    return withPrefix(asked, QStringLiteral("warning:"));
}

QStringList ScriptedPrompts::errors() const {
    return withPrefix(asked, QStringLiteral("error:"));
}
