#include <gtest/gtest.h>
#include <memory>
#include <tuple>

#include "base/text_folding.h"
#include "views/key_path.h"
#include "views/remote_buffers.h"

using namespace hivescout;

// The folded side is taken as given; only ASCII capitals fold, nothing is trimmed.
TEST(NameFolding, OnlyAsciiCapitalsFoldAndWholeNamesMatch) {
    EXPECT_TRUE(equalsFolded(L"", L""));
    EXPECT_FALSE(equalsFolded(L"\u00C9T\u00C9", L"\u00E9t\u00E9"));
    EXPECT_TRUE(equalsFolded(L"\u00C9T\u00C9", L"\u00C9t\u00C9"));
    EXPECT_FALSE(equalsFolded(L"\u0130", L"i"));
    EXPECT_FALSE(equalsFolded(L"@[", L"`{"));
    EXPECT_FALSE(equalsFolded(L"Soft", L"software"));
    EXPECT_FALSE(equalsFolded(L"Software", L"soft"));
    EXPECT_FALSE(equalsFolded(L"name  ", L"name"));
    EXPECT_TRUE(equalsFolded(L"Name  ", L"name  "));
    EXPECT_FALSE(equalsFolded(L"Key", L"Key"));
    std::wstring target = L"longer than the next";
    foldInto(target, L"ValUE \u00C4");
    EXPECT_EQ(L"value \u00C4", target);
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

// The value names after the walk, in order (missingAt: the level of the first missing key name, -1: none).
TEST(ValueNames, ThePathsOwnReadingFirstThenTheRestAsGivenFromTheFirstMissingKey) {
    const JumpKind value = JumpKind::Value, either = JumpKind::KeyOrValue;
    const std::tuple<JumpKind, const wchar_t*, int, std::vector<std::wstring>> rows[] = {
        {value, L"R\\K\\v\\", -1, {L"v", L"v\\"}},
        {value, L"R\\K\\C:\\App\\\\", 2, {L"C:\\App\\\\"}},
        {value, L"X\\C:\\a", 0, {}},
        {either, L"R\\K\\v\\", 2, {L"v", L"v\\"}},
        {either, L"X\\C:\\a", 0, {}},
        {JumpKind::Key, L"R\\K\\C:\\a", 2, {}},
    };
    for (const auto& [kind, path, missingAt, names] : rows) {
        const PreparedPath prepared = prepareJumpPath(path, kind);
        KeyLevels levels(prepared.keys, kind);
        std::optional<std::wstring_view> missing;
        for (int level = 0; level <= missingAt; ++level) missing = levels.next()->rest;
        EXPECT_EQ(names, valueNamesToLookFor(prepared, kind, missing)) << path;
    }
}
