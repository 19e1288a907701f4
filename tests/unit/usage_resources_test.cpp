#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/exit_flags.h"
#include "resources/resource_ids.h"
#include "tests/support/process_runner.h"
#include "ui/usage.h"

using namespace hivescout;

// The usage resources and the text window template as they are built into hivescout.exe,
// read with the same function the program uses.
class UsageResources_ : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::wstring path = ownDirectory() + L"hivescout.exe";
        module_ = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (module_) ::FreeLibrary(module_);
        module_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(nullptr, module_) << "hivescout.exe next to the tests"; }

    static std::vector<char> resource(WORD id, const wchar_t* type) {
        std::vector<char> bytes;
        EXPECT_EQ(0u, readResourceData(bytes, id, type, module_));
        return bytes;
    }
    static std::string rich() {
        const std::vector<char> bytes = resource(IDR_USAGE_RICH, USAGE_RESOURCE_TYPE_NAME);
        return std::string(bytes.begin(), bytes.end());
    }
    static std::wstring plain() {
        const std::vector<char> bytes = resource(IDR_USAGE_PLAIN, USAGE_RESOURCE_TYPE_NAME);
        std::wstring text(bytes.size() / 2, L'\0');
        if (!text.empty()) std::memcpy(&text[0], bytes.data(), text.size() * 2);
        return text;
    }
    static std::size_t count(const std::string& text, const std::string& part) {
        std::size_t n = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
        return n;
    }
    static std::size_t count(const std::wstring& text, const std::wstring& part) {
        std::size_t n = 0;
        for (auto at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++n;
        return n;
    }
    static std::string folded(std::string text) {
        for (char& c : text) if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return text;
    }
    static std::wstring folded(std::wstring text) {
        for (wchar_t& c : text) if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        return text;
    }

    static HMODULE module_;
};
HMODULE UsageResources_::module_ = nullptr;

namespace {

const char* const kSwitchForms[] = {
    "/?", "-help", "--help", "-appendlog", "-clipboard", "-jumpto=", "-jumptokey=", "-jumptovalue=", "-logtofile=",
    "-terminateifotherinstanceisblocking", "-tb", "-terminateotherwaitinginstances", "-tw",
    "-usemultipleinstancesofregedit", "-m", "-use32bitregedit", "-32bit", "-x86", "-use64bitregedit",
    "-64bit", "-x64", "-waittimeout="};

const unsigned long kExitBits[] = {1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 16384, 32768, 65536,
                                   131072, 262144, 524288, 1048576, 33554432, 67108864};

const char* const kSectionsInOrder[] = {"Hivescout v1.0",
                                        "Application usage information:",
                                        "Usage syntax:",
                                        "Command line switches and parameters in alphabetical order:",
                                        "Usage examples:",
                                        "Additional information:",
                                        "Error codes returned :"};

std::wstring widen(const char* text) { return std::wstring(text, text + std::strlen(text)); }

}  // namespace

TEST_F(UsageResources_, RichTextIsRtfEndingInCrLfAndOneNul) {
    const std::string text = rich();
    ASSERT_GT(text.size(), 4u);
    EXPECT_EQ(0u, text.find("{\\rtf1\\ansi\\ansicpg1251"));
    EXPECT_EQ(std::string("}\r\n", 3) + '\0', text.substr(text.size() - 4));
    EXPECT_EQ(text.size() - 1, text.find('\0'));
    EXPECT_NE(std::string::npos, text.find("Times New Roman;"));
    EXPECT_NE(std::string::npos, text.find("Symbol;"));
    EXPECT_NE(std::string::npos, text.find("\\red0\\green80\\blue219;"));
    for (const char* indent : {"\\li720", "\\li1170", "\\li1710", "\\li2070", "\\li3240\\fi-1260\\tx3240"})
        EXPECT_NE(std::string::npos, text.find(indent)) << indent;
}

TEST_F(UsageResources_, PlainTextIsUtf16WithMarkCrLfAndNoNul) {
    const std::wstring text = plain();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(L'\xFEFF', text[0]);
    EXPECT_EQ(std::wstring::npos, text.find(L'\0'));
    EXPECT_EQ(L"\r\n", text.substr(text.size() - 2));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == L'\r') << "bare line feed at " << i;
        }
        if (text[i] == L'\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == L'\n') << "bare CR at " << i;
        }
    }
    EXPECT_NE(std::wstring::npos, text.find(L"\r\n\t-AppendLog\r\n\t\t"));
}

TEST_F(UsageResources_, ProgramNameStandsInTheNinePlaces) {
    const std::string richText = rich();
    const std::wstring plainText = plain();
    EXPECT_EQ(9u, count(richText, "Hivescout.exe"));
    EXPECT_EQ(9u, count(plainText, L"%HIVESCOUT%"));
    EXPECT_EQ(0u, count(plainText, L"Hivescout.exe"));
    EXPECT_EQ(1u, count(richText, "Hivescout.exe <switches list>"));
    EXPECT_EQ(1u, count(plainText, L"\t\t%HIVESCOUT% <switches list>\r\n"));
    EXPECT_EQ(6u, count(plainText, L"\r\n\t\t\t%HIVESCOUT% "));
    EXPECT_EQ(2u, count(plainText, L"\r\n\t\t\t\t%HIVESCOUT% "));
    EXPECT_EQ(2u, count(plainText, L"| more\r\n"));
}

TEST_F(UsageResources_, EverySwitchFormIsDocumentedInBothTexts) {
    const std::string richText = folded(rich());
    const std::wstring plainText = folded(plain());
    for (const char* form : kSwitchForms) {
        EXPECT_NE(std::string::npos, richText.find(form)) << form;
        EXPECT_NE(std::wstring::npos, plainText.find(widen(form))) << form;
    }
}

TEST_F(UsageResources_, EverySwitchEntrySaysItsDefaultAndNothingUntrue) {
    const std::wstring text = plain();
    std::size_t entries = 0;
    for (auto at = text.find(L"\r\n\t"); at != std::wstring::npos; at = text.find(L"\r\n\t", at + 3)) {
        const wchar_t first = text[at + 3];
        if (first != L'-' && first != L'/') continue;
        const auto description = text.find(L"\r\n\t\t", at + 3);
        const auto end = text.find(L"\r\n", description + 4);
        ASSERT_NE(std::wstring::npos, end);
        const std::wstring entry = text.substr(at + 3, end - at - 3);
        EXPECT_NE(std::wstring::npos, entry.find(L"Default:")) << std::string(entry.begin(), entry.end());
        ++entries;
    }
    EXPECT_EQ(13u, entries);
    // The log switches still apply when the usage window is asked for.
    EXPECT_EQ(std::wstring::npos, text.find(L"Any other switches are ignored"));
}

TEST_F(UsageResources_, EveryExitBitIsListedInBothTexts) {
    const std::string richText = rich();
    const std::wstring plainText = plain();
    for (unsigned long bit : kExitBits) {
        const std::string value = std::to_string(bit);
        EXPECT_NE(std::string::npos, richText.find("\\pard\\li3240\\fi-1260\\tx3240\\sl240\\slmult1\\plain\\f0\\fs24 " +
                                                   value + "\\tab "))
            << bit;
        EXPECT_NE(std::wstring::npos, plainText.find(L"\r\n\t\t" + std::to_wstring(bit) + L"\t")) << bit;
    }
}

TEST_F(UsageResources_, SectionsComeInOrder) {
    const std::string richText = rich();
    const std::wstring plainText = plain();
    std::size_t richAt = 0;
    std::size_t plainAt = 0;
    for (const char* section : kSectionsInOrder) {
        const std::size_t r = richText.find(section, richAt);
        const std::size_t p = plainText.find(widen(section), plainAt);
        ASSERT_NE(std::string::npos, r) << section;
        ASSERT_NE(std::wstring::npos, p) << section;
        richAt = r;
        plainAt = p;
    }
}

TEST_F(UsageResources_, MissingResourceReportsAndGivesTheExtractionBit) {
    std::vector<char> bytes{'x'};
    EXPECT_EQ(ExitFlags::ResourceExtractionFailed, readResourceData(bytes, 999, USAGE_RESOURCE_TYPE_NAME, module_));
    EXPECT_EQ(1u, bytes.size());
}

// Reads the extended dialog template field by field.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<char>& bytes) : bytes_(bytes) {}
    template <typename T>
    T next() {
        T value{};
        if (at_ + sizeof(T) <= bytes_.size()) std::memcpy(&value, bytes_.data() + at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }
    // A name or ordinal field: 0xFFFF then a number, or a NUL-terminated string.
    std::wstring text() {
        std::wstring result;
        const auto first = next<WORD>();
        if (first == 0xFFFF) return L"#" + std::to_wstring(next<WORD>());
        for (WORD unit = first; unit != 0; unit = next<WORD>()) result += static_cast<wchar_t>(unit);
        return result;
    }
    void alignTo4() { at_ = (at_ + 3) & ~std::size_t(3); }

private:
    const std::vector<char>& bytes_;
    std::size_t at_ = 0;
};

TEST_F(UsageResources_, DialogTemplateIsTheResizableTextWindow) {
    const std::vector<char> bytes = resource(IDD_TEXT_WINDOW, RT_DIALOG);
    TemplateReader reader(bytes);
    EXPECT_EQ(1, reader.next<WORD>());
    EXPECT_EQ(0xFFFF, reader.next<WORD>());
    EXPECT_EQ(0u, reader.next<DWORD>());            // help id
    EXPECT_EQ(0x00040000u, reader.next<DWORD>());   // extended style
    EXPECT_EQ(0x80CF004Eu, reader.next<DWORD>());   // style
    ASSERT_EQ(3, reader.next<WORD>());               // controls
    EXPECT_EQ(0, reader.next<short>());
    EXPECT_EQ(0, reader.next<short>());
    EXPECT_EQ(125, reader.next<short>());
    EXPECT_EQ(122, reader.next<short>());
    EXPECT_EQ(L"", reader.text());                   // menu
    EXPECT_EQ(L"", reader.text());                   // class
    EXPECT_EQ(L"Dialog", reader.text());
    EXPECT_EQ(8, reader.next<WORD>());
    EXPECT_EQ(400, reader.next<WORD>());
    EXPECT_EQ(0, reader.next<BYTE>());
    EXPECT_EQ(1, reader.next<BYTE>());
    EXPECT_EQ(L"MS Shell Dlg", reader.text());

    struct Control {
        DWORD style;
        short x, y, cx, cy;
        DWORD id;
        const wchar_t* windowClass;
        const wchar_t* className;
        const wchar_t* text;
    };
    const Control expected[] = {{0x50010001, 67, 103, 50, 14, IDCANCEL, L"#128", L"BUTTON", L"Close"},
                                {0x40A00104, 7, 7, 111, 89, IDC_TEXT_AREA, L"#129", L"EDIT", L""},
                                {0x50010000, 7, 103, 50, 14, IDOK, L"#128", L"BUTTON", L""}};
    for (const Control& control : expected) {
        reader.alignTo4();
        EXPECT_EQ(0u, reader.next<DWORD>());  // help id
        EXPECT_EQ(0u, reader.next<DWORD>());  // extended style
        EXPECT_EQ(control.style, reader.next<DWORD>()) << control.id;
        EXPECT_EQ(control.x, reader.next<short>());
        EXPECT_EQ(control.y, reader.next<short>());
        EXPECT_EQ(control.cx, reader.next<short>());
        EXPECT_EQ(control.cy, reader.next<short>());
        EXPECT_EQ(control.id, reader.next<DWORD>());
        // The class may be stored as its name or as its predefined ordinal.
        const std::wstring windowClass = reader.text();
        EXPECT_TRUE(windowClass == control.windowClass || windowClass == control.className) << control.id;
        EXPECT_EQ(control.text, reader.text()) << control.id;
        EXPECT_EQ(0, reader.next<WORD>());  // no creation data
    }
}

TEST_F(UsageResources_, IconGroupIsPresent) {
    EXPECT_NE(nullptr, ::FindResourceW(module_, MAKEINTRESOURCEW(IDI_HIVESCOUT), RT_GROUP_ICON));
}
