// Kinds, name rules, the list's name order and how a list entry resolves to a file.

#include "masterpoint/FileKind.h"
#include "masterpoint/FileName.h"
#include "masterpoint/ListEntry.h"

#include <gtest/gtest.h>

using namespace mp;

// The separator that joinPath puts between a folder and a name, as a literal to join.
#ifdef _WIN32
#define SEP "\\"
#else
#define SEP "/"
#endif

struct NameCase {
    std::string name, extension, stem;
    int numberedKind, colourKind;
    std::string converted, display;
};

TEST(NameRules, ExtensionStemKindAndNewNames) {
    const NameCase cases[] = {
        {"a.b.MP1", ".MP1", "a.b", 1, 0, "a.b.GLD", "a.b.MP1(GLD)"},
        {"low.mp1", ".mp1", "low", 1, 0, "low.GLD", "low.MP1(GLD)"},
        {"club.mp4", ".mp4", "club", 4, 0, "club.GAR", "club.MP4(GAR)"},
        {"CLUB0612.MP2", ".MP2", "CLUB0612", 2, 0, "CLUB0612.RED", "CLUB0612.MP2(RED)"},
        {"e.mp3", ".mp3", "e", 3, 0, "e.GRN", "e.MP3(GRN)"},
        {"Z.Mp5", ".Mp5", "Z", 5, 0, "Z.RAG", "Z.MP5(RAG)"},
        {".MP2", ".MP2", "", 2, 0, ".RED", ".MP2(RED)"},
        {"club.gar", ".gar", "club", 0, 4, "", ""},
        {"x.GLD", ".GLD", "x", 0, 1, "", ""},
        {"nodot", "", "nodot", 0, 0, "", ""},
        {"C.TXT", ".TXT", "C", 0, 0, "", ""},
        {".x.GLD", ".GLD", ".x", 0, 1, "", ""},
        {"x.MP1.bak", ".bak", "x.MP1", 0, 0, "", ""},
        {"\xff\xfe.GLD", ".GLD", "\xff\xfe", 0, 1, "", ""},
        {"dir.d/file", "", "dir.d/file", 0, 0, "", ""},
        // Before the last dot, a backslash or colon changes nothing...
        {"back\\slash.MP3", ".MP3", "back\\slash", 3, 0, "back\\slash.GRN", "back\\slash.MP3(GRN)"},
        {"a:b.GLD", ".GLD", "a:b", 0, 1, "", ""},
#ifdef _WIN32
        // ...after it, it ends a folder part on Windows,
        {"dir.d\\file", "", "dir.d\\file", 0, 0, "", ""},
        {"x.d:file", "", "x.d:file", 0, 0, "", ""},
#else
        // ...after it, it is an ordinary byte of a name on POSIX.
        {"dir.d\\file", ".d\\file", "dir", 0, 0, "", ""},
        {"x.d:file", ".d:file", "x", 0, 0, "", ""},
#endif
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(extensionOf(c.name), c.extension);
        EXPECT_EQ(withoutExtension(c.name), c.stem);
        const std::string upper = upperAscii(c.extension);
        EXPECT_EQ(kindOfNumberedExtension(upper), c.numberedKind);
        EXPECT_EQ(kindOfColourExtension(upper), c.colourKind);
        if (c.numberedKind != 0) {
            EXPECT_EQ(convertedName(c.name, c.numberedKind), c.converted);
            EXPECT_EQ(displayName(c.name, c.numberedKind), c.display);
        }
        // A code that is no kind leaves the name as it stands.
        for (int code : {0, 6, -1}) {
            EXPECT_EQ(convertedName(c.name, code), c.name);
            EXPECT_EQ(displayName(c.name, code), c.name);
        }
    }
}

TEST(NameRules, JoinAndUpperCaseChangeNothingElse) {
    EXPECT_EQ(joinPath("x", "n"), "x" SEP "n");
    EXPECT_EQ(joinPath("x/", "n"), "x/" SEP "n");
    EXPECT_EQ(joinPath("", "n"), SEP "n");
    EXPECT_EQ(joinPath("x", ""), "x" SEP);
    EXPECT_EQ(upperAscii("ab.mp1\xe9\xff-z{`"), "AB.MP1\xe9\xff-Z{`");
}

TEST(NameRules, TwoFigureExtensionsIgnoreCase) {
    for (const char* ext : {".MP4", ".mp5", ".GAR", ".rag", ".Gar"}) {
        EXPECT_TRUE(isTwoFigureExtension(ext)) << ext;
    }
    for (const char* ext : {".MP1", ".MP3", ".GLD", ".red", "", ".MP4(GAR)", ".TXT"}) {
        EXPECT_FALSE(isTwoFigureExtension(ext)) << ext;
    }
}

TEST(NameOrder, AsciiCaseIgnoredThenTheBytes) {
    const struct {
        const char* what;
        std::string before, after;
        bool caseOnly = false; // the same file where names ignore ASCII case (Windows)
    } cases[] = {
        {"letters, case ignored", "a.GLD", "B.GLD"},
        {"letters, case ignored the other way", "A.GLD", "b.GLD"},
        {"a tie goes to the lower byte: upper case first", "B.GLD", "b.GLD", true},
        {"tie broken at the first differing byte", "Ab.GLD", "aB.GLD", true},
        {"prefix first", "a", "a.GLD"},
        {"the dot before digits", "a.GLD", "a2.GLD"},
        {"digits as text, not numbers", "A10.GLD", "a2.GLD"},
        {"letters before what lies between the cases", "z.GLD", "_.GLD"},
        {"bytes above ASCII last", "~.GLD", "\xc3\xa9.GLD"},
        {"folded bytes above ASCII stay apart", "\xc3\x89.GLD", "\xc3\xa9.GLD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(isBeforeInNameOrder(c.before, c.after));
        EXPECT_FALSE(isBeforeInNameOrder(c.after, c.before));
        EXPECT_FALSE(isBeforeInNameOrder(c.before, c.before));
#ifdef _WIN32
        EXPECT_EQ(isSameFileName(c.before, c.after), c.caseOnly);
#else
        EXPECT_FALSE(isSameFileName(c.before, c.after)); // POSIX names tell case apart
#endif
    }
    EXPECT_TRUE(isSameFileName("a.GLD", "a.GLD"));
}

struct EntryCase {
    std::string fileName;
    int kind;
    std::string folder, display, path, extension;
};

TEST(EntryResolution, TheRealNameJoinedAsItStands) {
    const EntryCase cases[] = {
        {"CLUB0612.MP1", 1, "/mp", "CLUB0612.MP1(GLD)", "/mp" SEP "CLUB0612.MP1", ".MP1"},
        {"CLUB0612.GLD", 0, "/mp", "CLUB0612.GLD", "/mp" SEP "CLUB0612.GLD", ".GLD"},
        {"CLUB0612.MP1", 1, "/mp/", "CLUB0612.MP1(GLD)", "/mp/" SEP "CLUB0612.MP1", ".MP1"},
        {"low.mp1", 1, "/mp", "low.MP1(GLD)", "/mp" SEP "low.mp1", ".MP1"},
        {"club.gld", 0, "/mp", "club.gld", "/mp" SEP "club.gld", ".gld"},
        {"a.b.MP1", 1, "/mp", "a.b.MP1(GLD)", "/mp" SEP "a.b.MP1", ".MP1"},
        {"Q.Mp4", 4, "", "Q.MP4(GAR)", SEP "Q.Mp4", ".MP4"},
        {"a.MP3", 3, "rel", "a.MP3(GRN)", "rel" SEP "a.MP3", ".MP3"},
        {"back\\slash.MP5", 5, "/mp", "back\\slash.MP5(RAG)", "/mp" SEP "back\\slash.MP5", ".MP5"},
        {"\xff\xfe.GLD", 0, "/mp", "\xff\xfe.GLD", "/mp" SEP "\xff\xfe.GLD", ".GLD"},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.fileName);
        const ListEntry entry = ListEntry::forFile(c.fileName, c.kind);
        EXPECT_EQ(entry.fileName, c.fileName);
        EXPECT_EQ(entry.displayText, c.display);
        EXPECT_EQ(entry.kindCode, c.kind);
        EXPECT_FALSE(entry.ticked);
        EXPECT_EQ(entryPath(entry, c.folder), c.path);
        EXPECT_EQ(entryExtension(entry), c.extension);
    }
}
