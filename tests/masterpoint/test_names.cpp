// Kinds, name rules and how a list entry resolves to a file.

#include "FakeSettings.h"
#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/ListEntry.h"

#include <gtest/gtest.h>

using namespace mp;

struct NameCase {
    std::string name, extension, base;
    int numberedKind, colourKind;
    std::string converted, display;
};

TEST(NameRules, ExtensionBaseKindAndNewNames) {
    const NameCase cases[] = {
        {"a.b.MP1", ".MP1", "a", 1, 0, "a.GLD", "a.MP1(GLD)"},
        {"club.mp4", ".mp4", "club", 4, 0, "club.GAR", "club.MP4(GAR)"},
        {"CLUB0612.MP2", ".MP2", "CLUB0612", 2, 0, "CLUB0612.RED", "CLUB0612.MP2(RED)"},
        {"e.mp3", ".mp3", "e", 3, 0, "e.GRN", "e.MP3(GRN)"},
        {"Z.Mp5", ".Mp5", "Z", 5, 0, "Z.RAG", "Z.MP5(RAG)"},
        {"club.gar", ".gar", "club", 0, 4, "", ""},
        {"x.GLD", ".GLD", "x", 0, 1, "", ""},
        {"nodot", "", "nodot", 0, 0, "", ""},
        {"C.TXT", ".TXT", "C", 0, 0, "", ""},
        {".x.GLD", ".GLD", "", 0, 1, "", ""},
        // On POSIX a backslash or colon is an ordinary byte of a name.
        {"back\\slash.MP3", ".MP3", "back\\slash", 3, 0, "back\\slash.GRN", "back\\slash.MP3(GRN)"},
        {"a:b.GLD", ".GLD", "a:b", 0, 1, "", ""},
        {"\xff\xfe.GLD", ".GLD", "\xff\xfe", 0, 1, "", ""},
        {"dir.d/file", "", "dir", 0, 0, "", ""},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(extensionOf(c.name), c.extension);
        EXPECT_EQ(baseNameOf(c.name), c.base);
        const std::string upper = upperAscii(c.extension);
        EXPECT_EQ(kindOfNumberedExtension(upper), c.numberedKind);
        EXPECT_EQ(kindOfColourExtension(upper), c.colourKind);
        if (c.numberedKind != 0) {
            EXPECT_EQ(convertedName(c.name, c.numberedKind), c.converted);
            EXPECT_EQ(displayName(c.name, c.numberedKind), c.display);
        }
    }
}

TEST(NameRules, UpperCasesAsciiLettersOnly) {
    EXPECT_EQ(upperAscii("ab.mp1\xe9\xff-z"), "AB.MP1\xe9\xff-Z");
}

TEST(NameRules, TwoFigureExtensionsIgnoreCase) {
    for (const char* ext : {".MP4", ".mp5", ".GAR", ".rag", ".Gar"}) {
        EXPECT_TRUE(isTwoFigureExtension(ext)) << ext;
    }
    for (const char* ext : {".MP1", ".MP3", ".GLD", ".red", "", ".MP4(GAR)", ".TXT"}) {
        EXPECT_FALSE(isTwoFigureExtension(ext)) << ext;
    }
    EXPECT_EQ(kindByCode(0), nullptr);
    EXPECT_EQ(kindByCode(6), nullptr);
    EXPECT_EQ(kindByCode(5)->figures, 2);
    EXPECT_EQ(kindByCode(3)->figures, 1);
}

struct EntryCase {
    std::string display;
    int kind;
    std::string folder, fileName, path, extension;
};

TEST(EntryResolution, NameAndPathJoinedAsTheyStand) {
    const EntryCase cases[] = {
        {"CLUB0612.MP1(GLD)", 1, "/mp", "CLUB0612.MP1", "/mp/CLUB0612.MP1", ".MP1"},
        {"CLUB0612.GLD", 0, "/mp", "CLUB0612.GLD", "/mp/CLUB0612.GLD", ".GLD"},
        {"CLUB0612.MP1(GLD)", 1, "/mp/", "CLUB0612.MP1", "/mp//CLUB0612.MP1", ".MP1"},
        {"club.MP4(GAR)", 4, "", "club.MP4", "/club.MP4", ".MP4"},
        {"a.MP3(GRN)", 3, "rel", "a.MP3", "rel/a.MP3", ".MP3"},
        {"club.MP2(RED)", 2, "/mp", "club.MP2", "/mp/club.MP2", ".MP2"},
        {"club.gar", 0, "/mp", "club.gar", "/mp/club.gar", ".gar"},
        {"back\\slash.MP5(RAG)", 5, "/mp", "back\\slash.MP5", "/mp/back\\slash.MP5", ".MP5"},
        {"\xff\xfe.GLD", 0, "/mp", "\xff\xfe.GLD", "/mp/\xff\xfe.GLD", ".GLD"},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.display);
        FakeSettings settings;
        settings.folder = c.folder;
        const ListEntry entry{c.display, c.kind, false};
        EXPECT_EQ(entryFileName(entry), c.fileName);
        EXPECT_EQ(entryPath(entry, settings), c.path);
        EXPECT_EQ(entryExtension(entry), c.extension);
    }
}

TEST(EntryResolution, ReadsTheFolderAtEachCall) {
    FakeSettings settings;
    settings.folderOnRead = [](int read) { return "/f" + std::to_string(read); };
    const ListEntry entry{"X.GLD", 0, false};
    EXPECT_EQ(entryPath(entry, settings), "/f0/X.GLD");
    EXPECT_EQ(entryPath(entry, settings), "/f1/X.GLD");
}
