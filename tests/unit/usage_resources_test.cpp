// The resources as they are built into hivescout.exe, read with the program's own function.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "base/exit_flags.h"
#include "base/text_folding.h"
#include "resources/resource_ids.h"
#include "tests/support/process_runner.h"
#include "ui/usage.h"

using namespace hivescout;

TEST(ProgramResources, UsageTextsManifestAndVersionFieldsAsBuilt) {
    const HMODULE module = ::LoadLibraryExW(hivescoutPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    std::vector<char> richBytes, plainBytes, untouched{'x'}, manifestBytes, versionBytes;
    EXPECT_EQ(0u, readResourceData(richBytes, IDR_USAGE_RICH, USAGE_RESOURCE_TYPE_NAME, module));
    EXPECT_EQ(0u, readResourceData(plainBytes, IDR_USAGE_PLAIN, USAGE_RESOURCE_TYPE_NAME, module));
    EXPECT_EQ(ExitFlags::ResourceExtractionFailed, readResourceData(untouched, 999, USAGE_RESOURCE_TYPE_NAME, module));
    EXPECT_EQ(1u, untouched.size());
    EXPECT_EQ(0u, readResourceData(manifestBytes, 1, RT_MANIFEST, module));
    EXPECT_EQ(0u, readResourceData(versionBytes, 1, RT_VERSION, module));
    ::FreeLibrary(module);
    const std::string rich(richBytes.begin(), richBytes.end());
    const std::wstring plain(reinterpret_cast<const wchar_t*>(plainBytes.data()), plainBytes.size() / 2);

    // RTF ending in CR LF and one NUL; UTF-16 with its mark, CR LF lines and no NUL.
    EXPECT_EQ(0u, rich.find("{\\rtf1\\ansi\\ansicpg1251"));
    EXPECT_EQ(std::string("}\r\n", 3) + '\0', rich.substr(rich.size() - 4));
    EXPECT_EQ(rich.size() - 1, rich.find('\0'));
    EXPECT_EQ(0u, plain.find(L'\xFEFF'));
    EXPECT_EQ(std::wstring::npos, plain.find(L'\0'));
    EXPECT_FALSE(std::regex_search(plain, std::wregex(L"\r(?!\n)|[^\r]\n"))) << "a line end other than CR LF";
    EXPECT_EQ(L"\r\n", plain.substr(plain.size() - 2));
    const std::wstring richText(rich.begin(), rich.end());
    std::wistringstream forms(
        L"/? -help --help -appendlog -clipboard -jumpto= -jumptokey= -jumptovalue= -logtofile= -waittimeout= "
        L"-terminateifotherinstanceisblocking -tb -terminateotherwaitinginstances -tw -usemultipleinstancesofregedit -m "
        L"-use32bitregedit -32bit -x86 -use64bitregedit -64bit -x64");
    for (std::wstring form; forms >> form;) {
        EXPECT_NE(std::wstring::npos, foldToLower(richText).find(form)) << form;
        EXPECT_NE(std::wstring::npos, foldToLower(plain).find(form)) << form;
    }
    for (const unsigned long bit : {1,    2,     4,     8,     16,     32,     64,     128,     256,      512,     1024,
                                    2048, 16384, 32768, 65536, 131072, 262144, 524288, 1048576, 33554432, 67108864}) {
        EXPECT_NE(std::wstring::npos, richText.find(L"\\fs24 " + std::to_wstring(bit) + L"\\tab ")) << bit;
        EXPECT_NE(std::wstring::npos, plain.find(L"\r\n\t\t" + std::to_wstring(bit) + L"\t")) << bit;
    }
    // The manifest: Windows 7, 8, 8.1, and 10 and 11 supported, and system-aware DPI.
    const std::string manifest(manifestBytes.begin(), manifestBytes.end());
    for (const char* declared :
         {"<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
          "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
          "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">system</dpiAwareness>"})
        EXPECT_NE(std::string::npos, manifest.find(declared)) << declared;
    // The version fields inventory tools read: each name, its padding and its whole value.
    const std::wstring fields(reinterpret_cast<const wchar_t*>(versionBytes.data()), versionBytes.size() / 2);
    EXPECT_TRUE(std::regex_search(fields, std::wregex(L"CompanyName\\x00+The Hivescout authors\\x00")));
    EXPECT_TRUE(std::regex_search(
        fields, std::wregex(L"LegalCopyright\\x00+Copyright \\(c\\) 2026 The Hivescout authors\\x00")));
}
