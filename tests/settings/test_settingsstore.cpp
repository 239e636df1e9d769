#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

#include <climits>
#include <cstdio>
#include <functional>

using namespace SettingsNames;

namespace {

class StoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("conf/Kavra_Masterpoint_files.ini"));

    void writeRaw(const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray readRaw() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Where the store's own file cache cannot answer: a copy under a new name is parsed
    // afresh from the bytes on disk.
    QString copyOfFile() const {
        const QString copy = dir.filePath(QStringLiteral("copy%1.ini").arg(++copies));
        QFile::copy(path, copy);
        return copy;
    }
    mutable int copies = 0;
};

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const StoreError& e) {
        return e.what();
    }
    return "no error";
}

TEST_F(StoreTest, EmptyStoreGivesDefaultsAndReadsCreateNothing) {
    SettingsStore store(path);
    EXPECT_EQ(store.readString(Paths, MasterpointFolder, QString()), QString());
    EXPECT_EQ(store.readString(Paths, BackupFolder, QStringLiteral("dflt")), "dflt");
    EXPECT_EQ(store.readInteger(Paths, ClubNumber, 0), 0);
    EXPECT_EQ(store.readInteger(Paths, ClubNumber, -17), -17);
    EXPECT_TRUE(store.readBool(Options, LocateOnOpen, true));
    EXPECT_FALSE(store.readBool(Options, ConvertExtensions, false));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(QDir(QFileInfo(path).absolutePath()).exists());
}

TEST_F(StoreTest, ReadingLeavesAnExistingFileAsItIs) {
    const QByteArray before = "[Options]\nLocateOnOpen=0\n";
    writeRaw(before);
    SettingsStore store(path);
    EXPECT_FALSE(store.readBool(Options, LocateOnOpen, true));
    EXPECT_EQ(store.readString(Paths, MasterpointFolder, QStringLiteral("none")), "none");
    EXPECT_EQ(store.readInteger(Paths, ClubNumber, 5), 5);
    EXPECT_EQ(readRaw(), before);
}

TEST_F(StoreTest, IntegerTextConvertsAsAWholeOrGivesTheDefault) {
    const struct {
        const char* stored;
        int expected;
    } cases[] = {
        {" 12", 12},         {"-5", -5},
        {"+7", 7},           {"$1F", 31},
        {"x1f", 31},         {"0x1F", 31},
        {"0X10", 16},        {"12 ", 99},
        {"1a", 99},          {"", 99},
        {"abc", 99},         {"2147483647", INT_MAX},
        {"2147483648", 99},  {"-2147483648", INT_MIN},
        {"-2147483649", 99}, {"$80000000", 99},
    };
    SettingsStore store(path);
    for (const auto& c : cases) {
        store.writeString(Paths, ClubNumber, QString::fromUtf8(c.stored));
        EXPECT_EQ(store.readInteger(Paths, ClubNumber, 99), c.expected)
            << "stored \"" << c.stored << "\"";
    }
}

TEST_F(StoreTest, BooleanIsAnIntegerNotZero) {
    const struct {
        const char* stored;
        bool withTrueDefault;
        bool withFalseDefault;
    } cases[] = {
        {"1", true, true},   {"2", true, true},    {"-1", true, true},
        {"0", false, false}, {"abc", true, false}, {"", true, false},
    };
    SettingsStore store(path);
    for (const auto& c : cases) {
        store.writeString(Options, LocateOnOpen, QString::fromUtf8(c.stored));
        EXPECT_EQ(store.readBool(Options, LocateOnOpen, true), c.withTrueDefault) << c.stored;
        EXPECT_EQ(store.readBool(Options, LocateOnOpen, false), c.withFalseDefault) << c.stored;
    }
}

TEST_F(StoreTest, NumbersAndBooleansAreStoredAsPlainText) {
    const struct {
        std::function<void(SettingsStore&)> write;
        const char* line;
        const char* text;
    } cases[] = {
        {[](SettingsStore& s) { s.writeInteger(Paths, ClubNumber, 123); }, "ClubNo=123", "123"},
        {[](SettingsStore& s) { s.writeInteger(Paths, ClubNumber, -40); }, "ClubNo=-40", "-40"},
        {[](SettingsStore& s) { s.writeInteger(Paths, ClubNumber, 0); }, "ClubNo=0", "0"},
        {[](SettingsStore& s) { s.writeBool(Options, LocateOnOpen, true); }, "LocateOnOpen=1", "1"},
        {[](SettingsStore& s) { s.writeBool(Options, LocateOnOpen, false); }, "LocateOnOpen=0",
         "0"},
    };
    SettingsStore store(path);
    for (const auto& c : cases) {
        c.write(store);
        // On disk the moment the write returns, with no store freed in between.
        EXPECT_TRUE(readRaw().contains(c.line)) << c.line << " in " << readRaw().toStdString();
        SettingsStore fresh(copyOfFile());
        const QString section = QString(c.line).startsWith("ClubNo") ? Paths : Options;
        const QString ident = QString(c.line).section('=', 0, 0);
        EXPECT_EQ(fresh.readString(section, ident, QStringLiteral("missing")), c.text);
    }
}

TEST_F(StoreTest, TextRoundTripsExactlyThroughTheFile) {
    const char* texts[] = {
        "C:\\Masterpoint\\files",
        "/home/scorer/masterpoint",
        "  blanks at both ends  ",
        "a,b",
        "one, two, three",
        "\"quoted\"",
        "semi;colon # hash",
        "key=value",
        "[section]",
        "back\\slash\\",
        "@ByteArray(1)",
        "@@twice",
        "tab\there",
        "Caf\xc3\xa9 M\xc3\xbcller \xe6\xbc\xa2",
        "",
    };
    SettingsStore store(path);
    for (const char* raw : texts) {
        const QString text = QString::fromUtf8(raw);
        store.writeString(Paths, MasterpointFolder, text);
        SettingsStore fresh(copyOfFile());
        EXPECT_EQ(fresh.readString(Paths, MasterpointFolder, QStringLiteral("missing")), text)
            << "written \"" << raw << "\"";
    }
}

TEST_F(StoreTest, ValueOfAnotherTypeFailsEveryReadUntilWrittenAgain) {
    const char* hostile[] = {"@ByteArray(1)", "1, 2", "@Invalid()", "@Rect(1 2 3 4)"};
    for (const char* value : hostile) {
        writeRaw(QByteArray("[Options]\nConvertextensions=1\nLocateOnOpen=") + value + "\n");
        SettingsStore store(path);
        const std::string expected = "Invalid data type for 'LocateOnOpen'";
        EXPECT_EQ(errorOf([&] { store.readBool(Options, LocateOnOpen, true); }), expected) << value;
        EXPECT_EQ(errorOf([&] { store.readInteger(Options, LocateOnOpen, 0); }), expected);
        EXPECT_EQ(errorOf([&] { store.readString(Options, LocateOnOpen, {}); }), expected);
        // The neighbour is unharmed.
        EXPECT_TRUE(store.readBool(Options, ConvertExtensions, false));

        store.writeBool(Options, LocateOnOpen, false);
        EXPECT_FALSE(store.readBool(Options, LocateOnOpen, true)) << value;
        EXPECT_TRUE(readRaw().contains("LocateOnOpen=0"));
    }
}

TEST_F(StoreTest, ValuesOutliveTheStoreThatWroteThem) {
    {
        SettingsStore store(path);
        store.writeString(Paths, MasterpointFolder, QStringLiteral("/data/mp"));
        store.writeString(Paths, BackupFolder, QStringLiteral("/data/backup"));
        store.writeInteger(Paths, ClubNumber, 612);
        store.writeBool(Options, LocateOnOpen, false);
        store.writeBool(Options, ConvertExtensions, true);
    }
    SettingsStore store(path);
    EXPECT_EQ(store.readString(Paths, MasterpointFolder, {}), "/data/mp");
    EXPECT_EQ(store.readString(Paths, BackupFolder, {}), "/data/backup");
    EXPECT_EQ(store.readInteger(Paths, ClubNumber, 0), 612);
    EXPECT_FALSE(store.readBool(Options, LocateOnOpen, true));
    EXPECT_TRUE(store.readBool(Options, ConvertExtensions, false));
}

TEST_F(StoreTest, EachReadSeesWhatAnotherCopyWrote) {
    SettingsStore reader(path);
    EXPECT_EQ(reader.readInteger(Paths, ClubNumber, 0), 0);

    SettingsStore writer(path);
    writer.writeInteger(Paths, ClubNumber, 123);
    EXPECT_EQ(reader.readInteger(Paths, ClubNumber, 0), 123);

    // A copy of the program in another process rewrites the file behind our back.
    writeRaw("[paths]\nClubNo=4567\nQuillet=/elsewhere\n");
    EXPECT_EQ(reader.readInteger(Paths, ClubNumber, 0), 4567);
    EXPECT_EQ(reader.readString(Paths, MasterpointFolder, {}), "/elsewhere");
}

TEST_F(StoreTest, ReadsFollowTheFileAsItIsReplacedRemovedAndMadeAgain) {
    SettingsStore reader(path);
    writeRaw("[paths]\nQuillet=/first\n");
    EXPECT_EQ(reader.readString(Paths, MasterpointFolder, {}), "/first");
    EXPECT_EQ(reader.readString(Paths, MasterpointFolder, {}), "/first");

    // Written whole under another name and renamed over, as careful writers do.
    const QString replacement = path + QStringLiteral(".new");
    QFile::remove(replacement);
    {
        QFile file(replacement);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[paths]\nQuillet=/second/folder\n");
    }
    ASSERT_EQ(
        ::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(path).constData()),
        0);
    EXPECT_EQ(reader.readString(Paths, MasterpointFolder, {}), "/second/folder");

    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(reader.readString(Paths, MasterpointFolder, QStringLiteral("none")), "none");

    writeRaw("[paths]\nQuillet=/third\n");
    EXPECT_EQ(reader.readString(Paths, MasterpointFolder, {}), "/third");
}

TEST_F(StoreTest, RefusedWriteRaisesTheStoreError) {
    const struct {
        const char* name;
        std::function<QString(const QString& root)> obstacle; // gives the store location
        std::string expected;
    } cases[] = {
        {"folder is a file",
         [](const QString& root) {
             QFile blocker(root + "/blocker");
             blocker.open(QIODevice::WriteOnly);
             return root + "/blocker/Kavra_Masterpoint_files.ini";
         },
         "Failed to create key paths"},
        {"file is a folder",
         [](const QString& root) {
             QDir().mkpath(root + "/store.ini");
             return root + "/store.ini";
         },
         "Cannot open file @/store.ini"},
    };
    for (const auto& c : cases) {
        QTemporaryDir root;
        SettingsStore store(c.obstacle(root.path()));
        EXPECT_EQ(errorOf([&] { store.writeString(Paths, MasterpointFolder, "/x"); }),
                  QString::fromStdString(c.expected).replace('@', root.path()).toStdString())
            << c.name;
    }
}

#ifndef _WIN32
// A write refused by the system (here the file size limit, which binds root too) leaves
// the store's error behind; the next write, once the disk takes it, must not inherit it.
TEST_F(StoreTest, AWriteAfterAFailedOneStartsClean) {
    SettingsStore store(path);
    store.writeInteger(Paths, ClubNumber, 1);
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit none{0, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &none);
    const std::string refused = errorOf([&] { store.writeInteger(Paths, ClubNumber, 2); });
    ::setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_NE(refused, "no error");
    EXPECT_EQ(errorOf([&] { store.writeInteger(Paths, ClubNumber, 3); }), "no error");
    EXPECT_TRUE(readRaw().contains("ClubNo=3"));
}
#endif

TEST_F(StoreTest, StoreThatIsNotARegularFileIsNeverReadAndNamedInTheError) {
    // A FIFO would keep a reader waiting for ever; the store never opens it, before or
    // after it was first read.
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("fifo.ini")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    const std::string expected = "Cannot open file " + fifo.toStdString();
    SettingsStore store(QFile::decodeName(fifo));
    EXPECT_EQ(errorOf([&] { store.readString(Paths, MasterpointFolder, {}); }), expected);
    EXPECT_EQ(errorOf([&] { store.writeBool(Options, LocateOnOpen, true); }), expected);

    writeRaw("[paths]\nQuillet=/mp\n");
    SettingsStore swapped(path);
    EXPECT_EQ(swapped.readString(Paths, MasterpointFolder, {}), "/mp");
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    EXPECT_EQ(errorOf([&] { swapped.readString(Paths, MasterpointFolder, {}); }),
              "Cannot open file " + path.toStdString());
}

TEST_F(StoreTest, WriteSucceedsOnceTheObstacleIsGone) {
    QDir().mkpath(path);
    SettingsStore store(path);
    EXPECT_EQ(errorOf([&] { store.writeInteger(Paths, ClubNumber, 1); }),
              "Cannot open file " + path.toStdString());
    QDir(path).removeRecursively();
    EXPECT_EQ(errorOf([&] { store.writeInteger(Paths, ClubNumber, 2); }), "no error");
    EXPECT_TRUE(readRaw().contains("ClubNo=2"));
}

TEST_F(StoreTest, LinesItCannotParseDoNotFailAWrite) {
    writeRaw("[paths]\nthis line is not a setting\nClubNo=7\n");
    SettingsStore store(path);
    EXPECT_EQ(errorOf([&] { store.writeBool(Options, LocateOnOpen, true); }), "no error");
    EXPECT_TRUE(readRaw().contains("LocateOnOpen=1"));
    EXPECT_EQ(store.readInteger(Paths, ClubNumber, 0), 7);
}

// A lock file another machine left beside the store made every write wait 30 s. Whether
// it was taken now or an hour ago, it is cleared within about a second (the bound below is
// a hang guard, far above that, and far below the 30 s).
TEST_F(StoreTest, ALockLeftByAnotherMachineIsClearedWithinASecond) {
    writeRaw("");
    for (const int minutesAgo : {0, 60}) {
        QFile lock(path + ".lock");
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write("4242\nanother-machine\nmpmgr\n");
        lock.flush();
        lock.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutesAgo),
                         QFileDevice::FileModificationTime);
        lock.close();
        SettingsStore store(path);
        QElapsedTimer clock;
        clock.start();
        store.writeInteger(Paths, ClubNumber, minutesAgo);
        EXPECT_LT(clock.elapsed(), 10000) << minutesAgo;
        EXPECT_EQ(store.readInteger(Paths, ClubNumber, -1), minutesAgo);
    }
}

TEST(StoreLocation, FollowsTheUsersConfigurationFolder) {
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    const bool hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QString home = qEnvironmentVariable("HOME");
    const struct passwd* user = ::getpwuid(::getuid());
    const QString recorded =
        QFile::decodeName(user->pw_dir) + "/.config/Kavra_Masterpoint_files.ini";
    // With neither variable set the store was once "/.config/…", in the root folder.
    const struct {
        const char* xdg;  // nullptr: unset
        const char* home; // nullptr: unset
        QString expected;
    } cases[] = {
        {"/srv/conf", "/h", "/srv/conf/Kavra_Masterpoint_files.ini"},
        {"", "/h", "/h/.config/Kavra_Masterpoint_files.ini"},
        {nullptr, "/h", "/h/.config/Kavra_Masterpoint_files.ini"},
        {"conf", "/h", "/h/.config/Kavra_Masterpoint_files.ini"},
        {nullptr, nullptr, recorded},
        {nullptr, "", recorded},
    };
    for (const auto& c : cases) {
        for (const auto& [name, value] : {std::pair{"XDG_CONFIG_HOME", c.xdg}, {"HOME", c.home}}) {
            if (value)
                qputenv(name, value);
            else
                qunsetenv(name);
        }
        EXPECT_EQ(SettingsStore::defaultLocation(ApplicationName), c.expected)
            << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
    qputenv("HOME", home.toLocal8Bit());
    if (hadXdg)
        qputenv("XDG_CONFIG_HOME", savedXdg);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

} // namespace
