#include <gtest/gtest.h>
#include <memory>

#include "views/key_path.h"
#include "base/text_folding.h"
#include "views/remote_buffers.h"

using namespace hivescout;

// The folded side is taken as given; only ASCII capitals fold, nothing is trimmed.
TEST(NameFolding, OnlyAsciiCapitalsFoldAndWholeNamesMatch) {
    const struct {
        const wchar_t* text;
        const wchar_t* folded;
        bool equal;
    } rows[] = {{L"HKEY_CURRENT_USER", L"hkey_current_user", true}, {L"", L"", true},
                {L"\u00C9T\u00C9", L"\u00E9t\u00E9", false},         {L"\u00C9T\u00C9", L"\u00C9t\u00C9", true},
                {L"\u0130", L"i", false},                            {L"@[", L"`{", false},
                {L"Soft", L"software", false},                       {L"Software", L"soft", false},
                {L"name  ", L"name", false},                         {L"Name  ", L"name  ", true},
                {L"Key", L"Key", false}};
    for (const auto& row : rows) EXPECT_EQ(row.equal, equalsFolded(row.text, row.folded)) << row.text;
    std::wstring target = L"longer than the next";
    foldInto(target, L"ValUE \u00C4");
    EXPECT_EQ(L"value \u00C4", target);
}

// Key and value targets end at the empty name after the trailing backslash, key-or-value
// targets on their last name; once finished, the levels stay finished.
TEST(KeyLevels, NamesRestsAndTheLastLevel) {
    using Level = std::tuple<std::wstring, std::wstring, bool>;
    const auto levelsOf = [](const std::wstring& keys, JumpKind kind) {
        std::vector<Level> result;
        KeyLevels levels(keys, kind);
        while (auto level = levels.next()) {
            result.emplace_back(level->name, level->rest, level->isLast);
            if (result.size() > 16) break;
        }
        EXPECT_FALSE(levels.next().has_value());
        return result;
    };
    const std::vector<Level> key = {{L"HKEY_LOCAL_MACHINE", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\", false}, {L"SOFTWARE", L"SOFTWARE\\", false}};
    EXPECT_EQ(key, levelsOf(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\", JumpKind::Key));
    EXPECT_EQ(key, levelsOf(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\", JumpKind::Value));
    const std::vector<Level> keyOrValue = {{L"HKEY_CURRENT_USER", L"HKEY_CURRENT_USER\\Soft\\v", false}, {L"Soft", L"Soft\\v", false}, {L"v", L"v", true}};
    EXPECT_EQ(keyOrValue, levelsOf(L"HKEY_CURRENT_USER\\Soft\\v", JumpKind::KeyOrValue));
    EXPECT_EQ((std::vector<Level>{{L"Name", L"Name", true}}), levelsOf(L"Name", JumpKind::KeyOrValue));
    const std::vector<Level> doubled = {{L"A", L"A\\\\B\\", false}, {L"", L"\\B\\", false}, {L"B", L"B\\", false}};
    EXPECT_EQ(doubled, levelsOf(L"A\\\\B\\", JumpKind::Key));
}

// Whatever the editor wrote, the text ends within the capacity, at its first zero.
TEST(LocalText, EndsAtTheFirstZeroAndWithinTheCapacity) {
    auto text = std::make_unique<wchar_t[]>(kTextBlockUnits);
    for (const std::size_t zeroAt : {kTextBlockUnits, kRemoteTextCapacity - 1, std::size_t{5}}) {
        std::fill(text.get(), text.get() + kTextBlockUnits, L'x');
        if (zeroAt < kTextBlockUnits) text[zeroAt] = L'\0';
        EXPECT_EQ(std::min(zeroAt, kRemoteTextCapacity - 1), terminateLocalText(text.get()).size());
    }
}
