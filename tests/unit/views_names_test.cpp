#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "views/key_path.h"
#include "base/text_folding.h"
#include "views/remote_buffers.h"

using namespace hivescout;

TEST(NameFolding, OnlyAsciiCapitalsFold) {
    EXPECT_TRUE(equalsFolded(L"HKEY_CURRENT_USER", L"hkey_current_user"));
    EXPECT_TRUE(equalsFolded(L"Software", L"software"));
    EXPECT_TRUE(equalsFolded(L"", L""));
    // Accented and other non-ASCII capitals are left alone.
    EXPECT_FALSE(equalsFolded(L"\u00C9T\u00C9", L"\u00E9t\u00E9"));
    EXPECT_TRUE(equalsFolded(L"\u00C9T\u00C9", L"\u00C9t\u00C9"));
    EXPECT_FALSE(equalsFolded(L"\u0130", L"i"));
    // The neighbours of 'A' and 'Z' are not letters.
    EXPECT_FALSE(equalsFolded(L"@[", L"`{"));
}

TEST(NameFolding, NoPrefixMatchAndNoTrimming) {
    EXPECT_FALSE(equalsFolded(L"Soft", L"software"));
    EXPECT_FALSE(equalsFolded(L"Software", L"soft"));
    EXPECT_FALSE(equalsFolded(L"name  ", L"name"));
    EXPECT_TRUE(equalsFolded(L"Name  ", L"name  "));
    // The folded side is taken as given: an unfolded name never matches a capital.
    EXPECT_FALSE(equalsFolded(L"Key", L"Key"));
}

TEST(NameFolding, FoldIntoReusesItsBuffer) {
    std::wstring target;
    target.reserve(64);
    const wchar_t* const storage = target.data();
    foldInto(target, L"ValUE \u00C4");
    EXPECT_EQ(L"value \u00C4", target);
    foldInto(target, L"X");
    EXPECT_EQ(L"x", target);
    EXPECT_EQ(storage, target.data());
}

TEST(PathPreparation, ValueTargetsLoseTheirLastName) {
    PreparedPath p = prepareJumpPath(L"HKEY_CURRENT_USER\\Software\\Name", JumpKind::Value);
    EXPECT_EQ(L"HKEY_CURRENT_USER\\Software\\", p.keys);
    EXPECT_EQ(L"Name", p.valueName);
    EXPECT_FALSE(p.valueMissing);

    // A value name with a backslash in it is cut at its last one.
    p = prepareJumpPath(L"HKEY_CURRENT_USER\\a\\b", JumpKind::Value);
    EXPECT_EQ(L"HKEY_CURRENT_USER\\a\\", p.keys);
    EXPECT_EQ(L"b", p.valueName);

    p = prepareJumpPath(L"HKEY_CURRENT_USER", JumpKind::Value);
    EXPECT_TRUE(p.valueMissing);
    EXPECT_EQ(L"", p.valueName);

    // Nothing after the last backslash names no value either.
    p = prepareJumpPath(L"HKEY_CURRENT_USER\\", JumpKind::Value);
    EXPECT_EQ(L"", p.valueName);
    EXPECT_TRUE(p.valueMissing);
}

TEST(PathPreparation, KeyTargetsGainABackslashAndOthersStay) {
    PreparedPath p = prepareJumpPath(L"HKEY_LOCAL_MACHINE\\SOFTWARE", JumpKind::Key);
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\", p.keys);
    EXPECT_EQ(L"", p.valueName);

    p = prepareJumpPath(L"HKEY_LOCAL_MACHINE\\SOFTWARE", JumpKind::KeyOrValue);
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\SOFTWARE", p.keys);
    EXPECT_EQ(L"", p.valueName);
}

namespace {

struct Level {
    std::wstring name;
    std::wstring rest;
    bool isLast;
    bool operator==(const Level& other) const {
        return name == other.name && rest == other.rest && isLast == other.isLast;
    }
};

std::vector<Level> levelsOf(const std::wstring& keys, JumpKind kind) {
    std::vector<Level> result;
    KeyLevels levels(keys, kind);
    while (auto level = levels.next()) {
        result.push_back({std::wstring(level->name), std::wstring(level->rest), level->isLast});
        if (result.size() > 16) break;
    }
    // Once finished it stays finished.
    EXPECT_FALSE(levels.next().has_value());
    return result;
}

}  // namespace

TEST(KeyLevels, KeyTargetsEndAtTheEmptyNameAfterTheTrailingBackslash) {
    const std::vector<Level> expected = {{L"HKEY_LOCAL_MACHINE", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\", false},
                                         {L"SOFTWARE", L"SOFTWARE\\", false}};
    EXPECT_EQ(expected, levelsOf(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\", JumpKind::Key));
    EXPECT_EQ(expected, levelsOf(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\", JumpKind::Value));
}

TEST(KeyLevels, KeyOrValueTargetsEndOnTheirLastName) {
    const std::vector<Level> expected = {{L"HKEY_CURRENT_USER", L"HKEY_CURRENT_USER\\Soft\\v", false},
                                         {L"Soft", L"Soft\\v", false},
                                         {L"v", L"v", true}};
    EXPECT_EQ(expected, levelsOf(L"HKEY_CURRENT_USER\\Soft\\v", JumpKind::KeyOrValue));
    const std::vector<Level> single = {{L"Name", L"Name", true}};
    EXPECT_EQ(single, levelsOf(L"Name", JumpKind::KeyOrValue));
}

TEST(KeyLevels, DoubleBackslashGivesAnEmptyName) {
    const std::vector<Level> expected = {{L"A", L"A\\\\B\\", false}, {L"", L"\\B\\", false}, {L"B", L"B\\", false}};
    EXPECT_EQ(expected, levelsOf(L"A\\\\B\\", JumpKind::Key));
}

TEST(WalkDecisions, MissingNamesAndFinishes) {
    EXPECT_EQ(WalkEnd::ValueWanted, walkEndWhenMissing(JumpKind::KeyOrValue, true));
    EXPECT_EQ(WalkEnd::NotFound, walkEndWhenMissing(JumpKind::KeyOrValue, false));
    EXPECT_EQ(WalkEnd::NotFound, walkEndWhenMissing(JumpKind::Key, true));
    EXPECT_EQ(WalkEnd::NotFound, walkEndWhenMissing(JumpKind::Value, true));

    EXPECT_EQ(WalkFinish::Key, finishAfterWalk(WalkEnd::Reached, JumpKind::Key, L""));
    EXPECT_EQ(WalkFinish::Key, finishAfterWalk(WalkEnd::Reached, JumpKind::KeyOrValue, L""));
    EXPECT_EQ(WalkFinish::ValueSearch, finishAfterWalk(WalkEnd::Reached, JumpKind::Value, L"v"));
    EXPECT_EQ(WalkFinish::ValueSearch, finishAfterWalk(WalkEnd::ValueWanted, JumpKind::KeyOrValue, L"v"));
    for (JumpKind kind : {JumpKind::Key, JumpKind::Value, JumpKind::KeyOrValue})
        EXPECT_EQ(WalkFinish::NotFound, finishAfterWalk(WalkEnd::NotFound, kind, L"v"));
}

TEST(LocalText, AlwaysEndsWithinTheCapacity) {
    auto text = std::make_unique<wchar_t[]>(kTextBlockUnits);
    // An editor that fills every unit it may write, and the unit after it, with no zero.
    for (std::size_t i = 0; i < kTextBlockUnits; ++i) text[i] = L'x';
    const std::wstring_view view = terminateLocalText(text.get());
    EXPECT_EQ(kRemoteTextCapacity - 1, view.size());
    EXPECT_EQ(L'\0', text[kRemoteTextCapacity - 1]);
}

TEST(LocalText, StopsAtTheFirstZeroAndKeepsFullLengthNames) {
    auto text = std::make_unique<wchar_t[]>(kTextBlockUnits);
    for (std::size_t i = 0; i < kTextBlockUnits; ++i) text[i] = L'y';
    text[5] = L'\0';
    EXPECT_EQ(std::wstring_view(L"yyyyy"), terminateLocalText(text.get()));

    // The longest name a control can hand back: capacity minus its terminator.
    for (std::size_t i = 0; i < kTextBlockUnits; ++i) text[i] = L'z';
    text[kRemoteTextCapacity - 1] = L'\0';
    EXPECT_EQ(kRemoteTextCapacity - 1, terminateLocalText(text.get()).size());
}
