#include "base/report_encoding.h"

namespace hivescout {

namespace {

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string encodeReportText(const wchar_t* text, std::size_t length) {
    std::string out;
    out.reserve(length + length / 8 + 8);
    for (std::size_t i = 0; i < length; ++i) {
        const char32_t unit = static_cast<char16_t>(text[i]);
        if (unit == U'\n') {
            out += "\r\n";
        } else if (isHighSurrogate(unit) && i + 1 < length && isLowSurrogate(static_cast<char16_t>(text[i + 1]))) {
            const char32_t low = static_cast<char16_t>(text[++i]);
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::wstring toConsoleText(const wchar_t* text, std::size_t length) {
    std::wstring out;
    out.reserve(length + 8);
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == L'\n') out += L'\r';
        out += text[i];
    }
    return out;
}

std::wstring visibleInReport(const std::wstring& text) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring shown;
    shown.reserve(text.size());
    for (const wchar_t unit : text) {
        const bool control = unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || unit == 0x2028 || unit == 0x2029;
        if (!control) {
            shown += unit;
            continue;
        }
        shown += L"<U+";
        for (int shift = 12; shift >= 0; shift -= 4) shown += kDigits[(unit >> shift) & 0xF];
        shown += L'>';
    }
    return shown;
}

}  // namespace hivescout
