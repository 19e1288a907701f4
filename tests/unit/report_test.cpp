#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <tuple>
#include <vector>

#include "base/log_file_check.h"
#include "base/report.h"
#include "base/report_encoding.h"

using namespace hivescout;

namespace {

// A target whose first write fails, like a file another copy holds for a moment.
struct FlakyBuffer : std::wstreambuf {
    std::wstring text;
    int attempts = 0;
    std::streamsize xsputn(const wchar_t* s, std::streamsize n) override {
        if (++attempts == 1) return 0;
        text.append(s, static_cast<std::size_t>(n));
        return n;
    }
};

}  // namespace

TEST(ReportEncoding, Utf8WithCrLfAndControlCharactersShownNotObeyed) {
    const std::wstring text = L"a\nb \u00e4\u0416\u6f22\U0001F41D\n";
    EXPECT_EQ("a\r\nb \xC3\xA4\xD0\x96\xE6\xBC\xA2\xF0\x9F\x90\x9D\r\n", encodeReportText(text.data(), text.size()));
    const wchar_t lone[] = {L'a', static_cast<wchar_t>(0xD800), L'b'};
    EXPECT_EQ(std::string("a\xEF\xBF\xBD") + "b", encodeReportText(lone, 3));
    // A name cannot forge a report line.
    EXPECT_EQ(L"a<U+000D><U+000A>Process ID: 1, Jump<U+0009><U+0085><U+009F><U+2028><U+2029><U+007F>",
              visibleInReport(L"a\r\nProcess ID: 1, Jump\t\u0085\u009f\u2028\u2029\u007f"));
    EXPECT_EQ(L"Caf\u00e9 \u00a0\U0001F41D ", visibleInReport(L"Caf\u00e9 \u00a0\U0001F41D "));
}

// The first write stops after three bytes and fails, later ones fail outright until the one that succeeds.
TEST(EmitReport, RetriesOnlyWhatAFailedWriteLeftWhileTheBudgetLasts) {
    const std::string line = "Process ID: 7, line\r\n";
    for (const auto& [budgetMs, successAt, result] : {std::tuple{150ul, 3, true}, {0ul, 3, false}, {150ul, 0, false}}) {
        std::string written;
        int attempts = 0;
        const auto flaky = [&, successAt = successAt](const char* bytes, std::size_t count, std::size_t& done) {
            ++attempts;
            done = attempts == 1 ? 3 : attempts == successAt ? count : 0;
            written.append(bytes, done);
            return attempts == successAt;
        };
        const DWORD start = ::GetTickCount();
        EXPECT_EQ(result, writeRemaining(line.data(), line.size(), budgetMs, flaky));
        EXPECT_EQ(result ? line : "Pro", written);
        const DWORD bound = successAt == 0 ? 140 : 0;  // a write that never succeeds is given up after about 150 ms
        EXPECT_GE(::GetTickCount() - start, bound) << "given up early";
    }
}

TEST(EmitReport, TriesTheStandardStreamsOnceButLosesNoLaterLine) {
    FlakyBuffer buffer;
    std::wostream target(&buffer);
    EXPECT_FALSE(emitReport(target, L"lost\n"));
    EXPECT_EQ(1, buffer.attempts);
    EXPECT_TRUE(emitReport(target, L"kept\n"));
    EXPECT_EQ(L"kept\n", buffer.text);
}

TEST(LogFileTarget, ADeviceThatCannotBeLockedStillTakesTheLines) {
    LogFileStream device(L"NUL");
    ASSERT_TRUE(device.buffer().isOpen());
    EXPECT_TRUE(emitReport(device, L"into the void\n"));
    EXPECT_TRUE(emitReport(device, L"and again\n"));
}

// What only Windows shows (Wine has no reparse points) and the forms of one path; hard links and links on the way
// are shown end to end.
TEST(LogFileCheck, APlainFileOrADeviceIsWrittenALinkOnTheLastNameIsNot) {
    const LogFileFacts plain{true, FILE_ATTRIBUTE_ARCHIVE, 1, L"C:\\Temp\\a.log", L"\\\\?\\c:\\TEMP\\A.log", L""};
    EXPECT_EQ(L"", logFileRefusal(plain));
    EXPECT_EQ(L"", logFileRefusal({true, 0, 1, L"\\\\srv\\share\\a.log", L"\\\\?\\UNC\\SRV\\share\\a.log", L""}));
    EXPECT_EQ(L"", logFileRefusal({false, 0, 0, L"\\\\.\\NUL", L"", L""}));
    const std::wstring rest = L". A log file is never written through a link; to log there, name the real path.";
    LogFileFacts link = plain;
    link.attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_EQ(L"The file is a link or another reparse point whose target cannot be read" + rest, logFileRefusal(link));
    link.linkTarget = L"C:\\Windows\\win.ini";
    EXPECT_EQ(L"The file is a link to C:\\Windows\\win.ini" + rest, logFileRefusal(link));
}

TEST(LogFileCheck, ALinksTargetIsReadFromItsReparseData) {
    const auto reparseData = [](std::uint32_t tag, const std::wstring& target, const std::wstring& shown) {
        const auto targetBytes = wchar_t(target.size() * 2), shownBytes = wchar_t(shown.size() * 2);
        std::vector<wchar_t> words = {wchar_t(tag), wchar_t(tag >> 16), 0, 0, 0, targetBytes, targetBytes, shownBytes};
        if (tag == IO_REPARSE_TAG_SYMLINK) words.insert(words.end(), {0, 0});  // its flags
        words.insert(words.end(), target.begin(), target.end());
        words.insert(words.end(), shown.begin(), shown.end());
        return std::string(reinterpret_cast<const char*>(words.data()), words.size() * 2);
    };
    EXPECT_EQ(L"C:\\S\\a", reparseTargetName(reparseData(IO_REPARSE_TAG_SYMLINK, L"\\??\\C:\\S\\a", L"C:\\S\\a")));
    EXPECT_EQ(L"\\\\srv\\s\\a", reparseTargetName(reparseData(IO_REPARSE_TAG_SYMLINK, L"\\??\\UNC\\srv\\s\\a", L"")));
    EXPECT_EQ(L"D:\\Data", reparseTargetName(reparseData(IO_REPARSE_TAG_MOUNT_POINT, L"\\??\\D:\\Data", L"")));
    EXPECT_EQ(L"", reparseTargetName(reparseData(IO_REPARSE_TAG_DEDUP, L"x", L"y")));
    EXPECT_EQ(L"", reparseTargetName(reparseData(IO_REPARSE_TAG_SYMLINK, L"x", L"y").substr(0, 21)));
}
