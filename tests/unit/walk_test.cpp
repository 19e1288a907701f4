#include <gtest/gtest.h>
#include <memory>

#include "base/text_folding.h"
#include "views/key_path.h"
#include "views/remote_buffers.h"

using namespace hivescout;

// The folded side is taken as given; only ASCII capitals fold, nothing is trimmed.
TEST(NameFolding, OnlyAsciiCapitalsFoldAndWholeNamesMatch) {
    const struct { const wchar_t* text; const wchar_t* folded; bool equal; } rows[] = {
        {L"HKEY_CURRENT_USER", L"hkey_current_user", true}, {L"", L"", true}, {L"\u00C9T\u00C9", L"\u00E9t\u00E9", false},
        {L"\u00C9T\u00C9", L"\u00C9t\u00C9", true}, {L"\u0130", L"i", false}, {L"@[", L"`{", false}, {L"Soft", L"software", false},
        {L"Software", L"soft", false}, {L"name  ", L"name", false}, {L"Name  ", L"name  ", true}, {L"Key", L"Key", false}};
    for (const auto& row : rows) EXPECT_EQ(row.equal, equalsFolded(row.text, row.folded)) << row.text;
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
    const struct { JumpKind kind; const wchar_t* path; int missingAt; std::vector<std::wstring> names; } rows[] = {
        {value, L"R\\K\\v\\", -1, {L"v", L"v\\"}}, {value, L"R\\K\\C:\\App\\\\", 2, {L"C:\\App\\\\"}}, {value, L"X\\C:\\a", 0, {}},
        {either, L"R\\K\\v\\", 2, {L"v", L"v\\"}}, {either, L"X\\C:\\a", 0, {}}, {JumpKind::Key, L"R\\K\\C:\\a", 2, {}}};
    for (const auto& row : rows) {
        const PreparedPath prepared = prepareJumpPath(row.path, row.kind);
        KeyLevels levels(prepared.keys, row.kind);
        std::optional<std::wstring_view> missing;
        for (int level = 0; level <= row.missingAt; ++level) missing = levels.next()->rest;
        EXPECT_EQ(row.names, valueNamesToLookFor(prepared, row.kind, missing)) << row.path;
    }
}
