// The settings store reading an INI file of arbitrary bytes: it never crashes, every
// read either gives text or throws StoreError, an integer read agrees with the text
// read (Reference.h's reading of whole numbers), and a value written is read back as
// written, by the same store and by a fresh one, leaving the other values of a file that
// the INI reader parses without complaint as they were.
//
// Input: the text to write and a choice of the value's name, then the file's bytes.

#include "Reference.h"

#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

namespace {

QTemporaryDir* folder = nullptr;
int files = 0;

// What a value must read as, where a simple file makes it certain.
struct Expected {
    enum Kind { Unknown, Text, Invalid } kind = Unknown;
    QString text;
};

struct Name {
    QString section;
    QString ident;
    Expected expected;
};

// What a read gives: the text, or the StoreError's message.
struct Reading {
    std::optional<QString> text;
    std::string error;
    bool operator==(const Reading& other) const {
        return text == other.text && error == other.error;
    }
};

std::string shown(const QString& text) {
    return ref::shown(text.toStdString());
}

std::string shown(const Reading& reading) {
    return reading.text ? "text " + shown(*reading.text) : "error " + reading.error;
}

std::string shown(const Name& name) {
    return "[" + shown(name.section) + "] " + shown(name.ident);
}

// Reads one value every way the store allows and checks that the ways agree.
Reading read(const SettingsStore& store, const Name& name) {
    Reading reading;
    const QString missing = QStringLiteral("\x01missing");
    try {
        reading.text = store.readString(name.section, name.ident, missing);
    } catch (const StoreError& error) {
        reading.error = error.what();
        REF_CHECK(reading.error == "Invalid data type for '" + name.ident.toStdString() + "'",
                  shown(name) + " failed with " + reading.error);
    }
    for (const int def : {-7, 0, 1}) {
        try {
            const int number = store.readInteger(name.section, name.ident, def);
            REF_CHECK(reading.text, shown(name) + " read as a number but not as text");
            std::int64_t value = 0;
            const std::string bytes = reading.text->toUtf8().toStdString();
            const bool inRange = *reading.text != missing && ref::wholeNumber(bytes, value) &&
                                 value >= std::numeric_limits<int>::min() &&
                                 value <= std::numeric_limits<int>::max();
            const int expected = inRange ? static_cast<int>(value) : def;
            REF_CHECK(number == expected, shown(name) + " " + shown(*reading.text) + " read as " +
                                              std::to_string(number) + ", expected " +
                                              std::to_string(expected));
            REF_CHECK(store.readBool(name.section, name.ident, def != 0) == (expected != 0),
                      shown(name) + " as a Boolean");
        } catch (const StoreError& error) {
            REF_CHECK(!reading.text && error.what() == reading.error,
                      shown(name) + " failed as a number with " + error.what() + " after " +
                          shown(reading));
        }
    }
    if (reading.text == missing) {
        reading.text.reset();
        reading.error = "missing";
    }
    return reading;
}

// A name as the file spells it: letters, digits and "_" only, so that the store's
// own escaping of other characters in names plays no part.
bool plain(const QString& name) {
    if (name.isEmpty() || name.size() > 32) {
        return false;
    }
    for (const QChar c : name) {
        if (!(c.isDigit() || (c.unicode() < 0x80 && c.isLetter()) || c == QLatin1Char('_'))) {
            return false;
        }
    }
    // The store keeps values outside any section under "General".
    return name.compare(QStringLiteral("General"), Qt::CaseInsensitive) != 0;
}

// Blanks, letters, digits and ".", "_", "-": text that the file holds as it stands.
bool plainValue(const QString& value) {
    for (const QChar c : value) {
        if (!(c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('.') ||
              c == QLatin1Char('_') || c == QLatin1Char('-')) ||
            c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

// A value as the file writes it, in a file simple enough that its reading is certain:
// plain text reads as itself (blanks at either end dropped), a comma list of plain
// words and "@ByteArray(...)" are not text and fail the read.
Expected expectedOf(const QString& value) {
    if (plainValue(value)) {
        return {Expected::Text, value};
    }
    QString words = value;
    words.remove(QLatin1Char(','));
    if (plainValue(words) ||
        (value.startsWith(QStringLiteral("@ByteArray(")) && value.endsWith(QLatin1Char(')')))) {
        return {Expected::Invalid, {}};
    }
    return {};
}

// The names the program uses, and the plain names that the file itself holds; each with
// what it must read as when the file is simple: ASCII lines of sections and "name=value"
// only, every section plain, no quotes, escapes, slashes or comments, the name given once.
std::vector<Name> namesIn(const QByteArray& bytes) {
    using namespace SettingsNames;
    std::vector<Name> names = {{Paths, MasterpointFolder, {}},
                               {Paths, BackupFolder, {}},
                               {Paths, ClubNumber, {}},
                               {Options, LocateOnOpen, {}},
                               {Options, ConvertExtensions, {}}};
    bool simple = true;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        simple = simple && u < 0x80 && (u >= 0x20 || c == '\n') && !std::strchr("\"\\/%;#", c);
    }
    std::vector<std::pair<Name, int>> seen; // every name of the file, how often given
    QString section;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            simple = simple && plain(section);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            simple = simple && line.isEmpty();
            continue;
        }
        const QString ident = line.left(equals).trimmed();
        simple = simple && plain(ident) && !section.isEmpty();
        const auto same = [&](const auto& other) {
            return other.first.section == section && other.first.ident == ident;
        };
        const auto at = std::find_if(seen.begin(), seen.end(), same);
        if (at == seen.end()) {
            seen.push_back({{section, ident, expectedOf(line.mid(equals + 1).trimmed())}, 1});
        } else {
            ++at->second;
        }
    }
    for (const auto& entry : seen) {
        const Name& name = entry.first;
        const int times = entry.second;
        const auto same = [&](const Name& other) {
            return other.section == name.section && other.ident == name.ident;
        };
        auto at = std::find_if(names.begin(), names.end(), same);
        if (at == names.end()) {
            if (names.size() == 16 || !plain(name.section) || !plain(name.ident)) {
                continue;
            }
            at = names.insert(names.end(), {name.section, name.ident, {}});
        }
        if (simple && times == 1) {
            at->expected = name.expected;
        }
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/mpmgr-fuzz-settings-XXXXXX"));
    if (!folder->isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        std::abort();
    }
    std::atexit([] { delete folder; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const QString value = QString::fromUtf8(provider.ConsumeRandomLengthString(64));
    const std::uint8_t which = provider.ConsumeIntegral<std::uint8_t>();
    const std::string rest = provider.ConsumeRemainingBytesAsString();
    const QByteArray bytes(rest.data(), static_cast<qsizetype>(rest.size()));

    // A file name never used before: nothing cached about it anywhere.
    const QString path = folder->filePath(QStringLiteral("store%1.ini").arg(++files));
    {
        QFile file(path);
        REF_CHECK(file.open(QIODevice::WriteOnly), "cannot write " + path.toStdString());
        file.write(bytes);
    }

    const std::vector<Name> names = namesIn(bytes);
    // Lines that the INI reader cannot parse are dropped when the file is written anew,
    // and its reading of such a file is not even consistent in itself (a section header
    // run on over a line end can list a value that it then says is not there): only of a
    // file it reads without complaint can the other values be required to stay as they
    // were.
    // The reader parses the file on first use, not when it is made: status() before any
    // read says nothing.
    QSettings reader(path, QSettings::IniFormat);
    reader.allKeys();
    const bool wellFormed = reader.status() == QSettings::NoError;
    const QString copy = path + QStringLiteral(".copy");
    std::vector<Reading> before;
    {
        SettingsStore store(path);
        for (const Name& name : names) {
            before.push_back(read(store, name));
            const Expected& expected = name.expected;
            REF_CHECK(expected.kind == Expected::Unknown ||
                          before.back() == (expected.kind == Expected::Text
                                                ? Reading{expected.text, {}}
                                                : Reading{{},
                                                          "Invalid data type for '" +
                                                              name.ident.toStdString() + "'"}),
                      shown(name) + " read as " + shown(before.back()) + " from the file " +
                          ref::shown(rest));
        }
        // Reading changes nothing on disk.
        QFile file(path);
        REF_CHECK(file.open(QIODevice::ReadOnly) && file.readAll() == bytes,
                  "reading changed the file");

        const std::size_t target = which % names.size();
        const Name& name = names[target];
        try {
            store.writeString(name.section, name.ident, value);
        } catch (const StoreError& error) {
            REF_CHECK(false, shown(name) + " write failed: " + error.what());
        }
        // On disk when the write returns, before anything else touches the store: a fresh
        // store over a copy, so that no cache of the file's name can answer, reads it below.
        REF_CHECK(QFile::copy(path, copy), "cannot copy the store");
        before[target] = Reading{value, {}};
        REF_CHECK(read(store, name) == before[target], shown(name) + " written " + shown(value) +
                                                           ", read " + shown(read(store, name)) +
                                                           " from the file " + ref::shown(rest));
    }
    {
        SettingsStore fresh(copy);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const Reading after = read(fresh, names[i]);
            if (!wellFormed && i != which % names.size()) {
                continue;
            }
            REF_CHECK(after == before[i], shown(names[i]) + " was " + shown(before[i]) +
                                              ", after writing " +
                                              shown(names[which % names.size()]) + " it is " +
                                              shown(after) + "; the file was " + ref::shown(rest));
        }
    }
    QFile::remove(path);
    QFile::remove(copy);
    return 0;
}
