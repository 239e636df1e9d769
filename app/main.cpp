// Program entry: any command-line argument is read first, without a display, so that
// --help and --version answer on a terminal; then, step by step, the application is
// named, the settings store opened (with --sample, that of a fresh copy of the sample
// month), the prompts and the main window made; the window is shown and starts up, and
// the event loop runs until it closes.

#include "app/GuideShortcut.h"
#include "app/MainWindow.h"
#include "app/QtPrompts.h"
#include "app/SampleMonth.h"
#include "app/WindowIcon.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

constexpr int SampleFailed = 1;
constexpr int UsageError = 2;

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Qt's own options, with the name of their value where they take one: QApplication takes
// them from the command line itself, so they pass here unseen in the help.
const char* const QtOptions[][2] = {
    {"platform", "name"},
    {"platformpluginpath", "path"},
    {"platformtheme", "name"},
    {"plugin", "name"},
    {"qwindowgeometry", "geometry"},
    {"qwindowicon", "icon"},
    {"qwindowtitle", "title"},
    {"session", "session"},
    {"display", "display"},
    {"geometry", "geometry"},
    {"style", "style"},
    {"stylesheet", "file"},
    {"qmljsdebugger", "options"},
    {"reverse", nullptr},
    {"widgetcount", nullptr},
};

struct CommandLine {
    // Set when the program should answer and end rather than open its window.
    std::optional<int> exitStatus;
    bool sample = false;
};

CommandLine answerCommandLine(int argc, char* argv[]) {
    QCoreApplication console(argc, argv);
    const QString name = QCoreApplication::applicationName();
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Masterpoint file manager: lists, views, backs up, merges and converts\n"
                       "the masterpoint files of a bridge club. Without options it opens its\n"
                       "window; Qt's standard options such as -style are passed on to it."));
    const QCommandLineOption sample(
        QStringLiteral("sample"),
        QStringLiteral("Start on a fresh copy of the sample month, made in a new folder in "
                       "the temporary folder ($TMPDIR or /tmp) with settings of its own, "
                       "and removed when the program ends. Your own settings are neither "
                       "read nor changed."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(sample);
    for (const auto& qtOption : QtOptions) {
        QCommandLineOption option(QLatin1String(qtOption[0]), QString(),
                                  qtOption[1] ? QLatin1String(qtOption[1]) : QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    if (!parser.parse(QCoreApplication::arguments())) {
        print(stderr, QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n")
                          .arg(name, parser.errorText()));
        return {UsageError};
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return {0};
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("%1 %2\n").arg(name, QStringLiteral(MPMGR_VERSION)));
        return {0};
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("%1: unexpected argument '%2': no file is opened from "
                                     "the command line\nTry '%1 --help' for more information.\n")
                          .arg(name, parser.positionalArguments().constFirst()));
        return {UsageError};
    }
    return {std::nullopt, parser.isSet(sample)};
}

} // namespace

int main(int argc, char* argv[]) {
    CommandLine commandLine;
    if (argc > 1) {
        commandLine = answerCommandLine(argc, argv);
        if (commandLine.exitStatus)
            return *commandLine.exitStatus;
    }
    QApplication application(argc, argv);
    // Made before anything reads a setting, and removed only once every window is gone.
    std::unique_ptr<SampleMonth> sample;
    if (commandLine.sample) {
        try {
            sample = std::make_unique<SampleMonth>();
        } catch (const SampleError& error) {
            print(stderr, QStringLiteral("mpmgr: %1\n").arg(QString::fromLocal8Bit(error.what())));
            return SampleFailed;
        }
        sample->keepToolkitSettingsHere();
        print(stdout, QStringLiteral("mpmgr: the sample month is in %1; it is removed when the "
                                     "program ends\n")
                          .arg(QDir::toNativeSeparators(sample->folder())));
    }
    // Ties the windows to the installed desktop entry (Wayland's app id, the dock's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral(MPMGR_APP_ID));
    QApplication::setWindowIcon(mpmgrWindowIcon());
    // The settings store is named after the application; opening it reports nothing.
    QCoreApplication::setApplicationName(SettingsNames::ApplicationName);
    SettingsStore store(sample ? sample->settingsLocation()
                               : SettingsStore::defaultLocation(SettingsNames::ApplicationName));
    GuideShortcut guideOnF1(application);
    QtPrompts prompts(store);
    MainWindow window(prompts, store);
    if (sample)
        window.setWindowTitle(window.windowTitle() + QStringLiteral(" \u2014 sample month"));
    // The window shows first; the options are read and the folder scanned once it is on
    // the screen. Closing it stores the options.
    window.showAndStartUp();
    return application.exec();
}
