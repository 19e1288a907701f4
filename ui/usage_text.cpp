#include "ui/usage_text.h"

namespace hivescout {

namespace {

template <typename String>
String substituteAll(String text, const String& pattern, const String& replacement) {
    const String inserted = replacement.substr(0, replacement.find(typename String::value_type(0)));
    typename String::size_type position = text.find(pattern);
    while (position != String::npos) {
        text.replace(position, pattern.size(), inserted);
        position = text.find(pattern, position + inserted.size());
    }
    return text;
}

std::wstring quotedWhenBlank(const std::wstring& fileName) {
    if (fileName.find(L' ') == std::wstring::npos) return fileName;
    return L"\"" + fileName + L"\"";
}

void appendRtfCodeUnit(std::string& out, wchar_t unit) {
    if (unit == L'\\' || unit == L'{' || unit == L'}') {
        out += '\\';
        out += static_cast<char>(unit);
    } else if (unit >= 0x20 && unit < 0x7F) {
        out += static_cast<char>(unit);
    } else {
        out += "\\u" + std::to_string(static_cast<short>(unit)) + "?";
    }
}

}  // namespace

std::string substituteProgramName(std::string text, const std::string& pattern, const std::string& replacement) {
    return substituteAll(std::move(text), pattern, replacement);
}

std::wstring substituteProgramName(std::wstring text, const std::wstring& pattern, const std::wstring& replacement) {
    return substituteAll(std::move(text), pattern, replacement);
}

std::wstring plainFileNameReplacement(const std::wstring& fileName) { return quotedWhenBlank(fileName); }

std::string richFileNameReplacement(const std::wstring& fileName) {
    std::string out;
    for (wchar_t unit : quotedWhenBlank(fileName)) {
        if (unit == L'\0') break;
        appendRtfCodeUnit(out, unit);
    }
    return out;
}

std::wstring usageTitle() { return L"Hivescout  64 Bit Usage Information"; }

}  // namespace hivescout
