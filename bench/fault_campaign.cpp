// A stress and fault campaign against the real hivescout.exe and the editor stand-in: termination commands at random
// moments, many copies appending to one log, hostile command lines, an editor killed in the middle of a walk, a soak
// and editors that stop answering. It prints figures, one summary line per section and a verdict, and exits with 1 when
// it found a fault (scripts/campaign).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <sstream>

#include "base/exit_flags.h"
#include "views/editor_messages.h"
#include "app/jump_settings.h"
#include "app/path_forms.h"
#include "base/text_folding.h"
#include "app/main_flow.h"
#include "base/report_encoding.h"
#include "base/shared_objects.h"
#include "hivescout_version.h"
#include "tests/support/registry_data.h"
#include "tests/support/editors.h"
#include "bench/process_footprint.h"

using namespace hivescout;

namespace {

using Rng = std::mt19937;

constexpr std::uint32_t kDocumentedBits = 1 | 2 | 4 | 8 | 16 | 32 | 64 | 128 | 256 | 512 | 1024 | 2048 | 16384 | 32768 |
                                          65536 | 131072 | 262144 | 524288 | 1048576 | 33554432 | 67108864;
constexpr std::uint32_t kKilledByCampaign = 0xDEAD;  // what RunningProcess::wait ends a hung copy with
constexpr DWORD kHangMs = 10000;
const wchar_t kTerminating[] = L",  Terminating Hivescout due to termination command from other Hivescout instance.";
const wchar_t* const kKinds[] = {L"key", L"value", L"key/value"};

bool startsWith(const std::wstring& text, const std::wstring& head) { return text.compare(0, head.size(), head) == 0; }
bool documented(std::uint32_t code) { return (code & ~kDocumentedBits) == 0; }

template <typename... Values>
std::string format(const char* pattern, Values... values) {
    char text[1000];
    std::snprintf(text, sizeof(text), pattern, values...);
    return text;
}

// What the lines of one group of runs may name: the copies (process ID -> how many copies
// had it; the system reuses IDs) and the jump paths as the lines show them.
struct LineContext {
    std::map<DWORD, unsigned> copies;
    std::set<std::wstring> paths;
};

// A report line taken apart: which form, whose, and the message after the process ID.
enum class Form { Start, End, Ordinary, Error, Plain, Unknown };
struct ParsedLine {
    Form form = Form::Unknown;
    DWORD pid = 0;
    std::wstring message;
};

// A carriage return anywhere (a system text's own line break, say) makes a line unknown.
ParsedLine parseLine(const std::wstring& line) {
    ParsedLine parsed;
    if (line.find(L'\r') != std::wstring::npos) return parsed;
    static const std::pair<Form, const wchar_t*> heads[] = {
        {Form::Start, L"Hivescout, Biuld " HIVESCOUT_VERSION_WIDE L", 64 Bit, with process ID "},
        {Form::End, L"Hivescout with process ID "},
        {Form::Ordinary, L"Process ID: "},
        {Form::Error, L"(Error) Process ID: "}};
    for (const auto& [form, head] : heads) {
        if (!startsWith(line, head)) continue;
        std::size_t at = wcslen(head);
        unsigned long long pid = 0;
        for (; at < line.size() && at < wcslen(head) + 10 && iswdigit(line[at]); ++at)
            pid = pid * 10 + (line[at] - L'0');
        if (at == wcslen(head) || pid > 0xFFFFFFFFull) return parsed;
        return {form, static_cast<DWORD>(pid), line.substr(at)};
    }
    if (line == L"Unhandled exception was cought. Application is terminating." ||
        startsWith(line, L" The successfully passed path was : "))
        parsed.form = Form::Plain;
    return parsed;
}

std::vector<std::wstring> joined(std::vector<std::wstring> first, const std::vector<std::wstring>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// The messages after the process ID: {kind} is "key", "value" or "key/value", {path} one of
// the group's jump paths, {hex} lower-case hex without leading zeros, {time} a local time or
// none, {any} the rest (a text of the system's, or a name the campaign does not track).
const std::map<Form, std::vector<std::wstring>> kMessages = {
    {Form::Start, {L" started on: {time}"}},
    {Form::End, {L" ended on: {time}"}},
    {Form::Ordinary,
     {L", Sending command to terminate all other instances", kTerminating,
      L"(Error) Error occured during the initialisation of the Hivescout synchronisation data. This instance will not "
      L"be able to synchronise itself with other running Hivescout instances.",
      L", Jump to the {kind} was successfull", L", Jumping to {kind}: {path}", L", Jump to {kind}: {path}, FAILED."}},
    {Form::Error,  // the program's own sentences, then those that end with a text of the system's or a name
     joined({L", User did not specify a {kind} to jump to.", L", Failed to create the Usage dialog window.",
             L", Error occured while trying to launch the Regedit.", L", Error code returned is: 0x{hex}",
             L", Unable to open a process handle of regedit executable.", L", Failed to find eligible Regedit window.",
             L", The value to jump to could not be found in the registry.", L", The {kind} was not found",
             L", Failed to allocate memory in regedit's address space.",
             L", Unable to acquire the handles needed to perform the jump. ",
             L", Regedit was terminated before the jump was completed.",
             L", Regedit terminated unexpectedly before the jump could be completed.",
             L", Regedit is in use by another instance of Hivescout. The jump to \"{path}\" will not be possible. "
             L"Application is terminating"},
            {L", Failed to read L1 resource {any}", L", Failed to read L2 resource {any}",
             L", Failed to read L3 resource {any}", L", There is a 64 bit version of {any}",
             L", There is a 32 bit version of {any}", L", The regedit process {any}",
             L", Could not launch regedit process ({any}", L", Error occured during the opening of the log file{any}",
             L", Failed to extract the %systemroot% value. Returned error was: {any}",
             L", Error occurred while writing in the regedit process memory. Error returned was : {any}",
             L", Error occurred while reading the regedit process memory. Error returned was : {any}"})}};

bool matches(std::wstring_view text, std::wstring_view pattern, const LineContext& context) {
    const std::size_t at = pattern.find(L'{');
    if (at == std::wstring_view::npos) return text == pattern;
    if (text.substr(0, at) != pattern.substr(0, at)) return false;
    text.remove_prefix(at);
    const std::wstring_view field = pattern.substr(at, pattern.find(L'}', at) + 1 - at);
    const std::wstring_view rest = pattern.substr(at + field.size());
    if (field == L"{any}") return true;
    if (field == L"{hex}")
        return !text.empty() && text.size() <= 8 && text[0] != L'0' &&
               text.find_first_not_of(L"0123456789abcdef") == text.npos;
    if (field == L"{time}") {  // none, or this form with a digit for each d
        const std::wstring_view form = L"dddd-dd-ddTdd:dd:dd";
        return text.empty() ||
               std::equal(text.begin(), text.end(), form.begin(), form.end(),
                          [](wchar_t unit, wchar_t f) { return f == L'd' ? iswdigit(unit) != 0 : unit == f; });
    }
    std::vector<std::wstring_view> choices(std::begin(kKinds), std::end(kKinds));
    if (field == L"{path}") choices.assign(context.paths.begin(), context.paths.end());
    for (std::wstring_view choice : choices)
        if (text.substr(0, choice.size()) == choice && matches(text.substr(choice.size()), rest, context)) return true;
    return false;
}

// Whether the line has one of the program's line forms and names one of the context's
// copies. A line torn by another writer, or forged by a name, fails this.
bool isKnownLine(const std::wstring& line, const LineContext& context) {
    const ParsedLine parsed = parseLine(line);
    if (parsed.form == Form::Plain || parsed.form == Form::Unknown) return parsed.form == Form::Plain;
    for (const std::wstring& pattern : kMessages.at(parsed.form))
        if (matches(parsed.message, pattern, context)) return context.copies.count(parsed.pid) != 0;
    return false;
}

std::wstring hivescoutCommand(const std::wstring& args) { return quoteArgument(hivescoutPath()) + L" " + args; }

// A copy of the program; one given up on after its deadline counts as hung.
struct Copy {
    std::unique_ptr<RunningProcess> process;
    ProcessResult result;
    DWORD pid() const { return process->processId(); }
    bool hung() const { return result.timedOut; }
    bool terminated() const { return !hung() && (result.exitCode & ExitFlags::TerminatedByOtherInstance) != 0; }
    bool crashed() const { return !hung() && result.started && !documented(result.exitCode); }
};

Copy startCopy(const std::wstring& arguments, const std::wstring& directory = std::wstring()) {
    return Copy{std::make_unique<RunningProcess>(hivescoutCommand(arguments), RunOptions{{}, 60000, directory}), {}};
}

// What the copies of a section did: their exit codes (a hung copy's as the campaign's kill
// code), how many hung, crashed or were ended by a command, and how many ended without a
// hang with undocumented bits (one that could not start among them).
struct Tally {
    std::map<std::uint32_t, unsigned long> codes;
    unsigned long copies = 0, hangs = 0, crashes = 0, ended = 0, undocumented = 0;
    unsigned long checked = 0, unknown = 0;  // report lines: checked, and in no known form
    void add(const Copy& copy) {
        ++copies;
        ++codes[copy.hung() ? kKilledByCampaign : copy.result.exitCode];
        hangs += copy.hung();
        crashes += copy.crashed();
        ended += copy.terminated();
        undocumented += !copy.hung() && !documented(copy.result.exitCode);
    }
    // The copies that ended, without a hang, with another exit code.
    unsigned long otherThan(DWORD code) const { return copies - hangs - (codes.count(code) ? codes.at(code) : 0); }
    std::string histogram() const {  // "code xcount" entries
        std::string text;
        for (const auto& [code, count] : codes) text += format("%s%u x%lu", text.empty() ? "" : ", ", code, count);
        return text;
    }
};

// Waits for every copy until the common deadline (a tick count); one that hung or crashed is named.
void finishCopies(std::vector<Copy>& copies, DWORD deadline, Tally& tally) {
    for (Copy& copy : copies) {
        const DWORD now = ::GetTickCount();
        copy.result = copy.process->wait(static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0);
        tally.add(copy);
        if (copy.hung() || copy.crashed())
            std::printf("[ copy ] %lu %s (exit 0x%x)\n", copy.pid(), copy.hung() ? "HUNG" : "CRASHED",
                        copy.result.exitCode);
    }
}

LineContext contextOf(const std::vector<Copy>& copies, const std::vector<std::wstring>& paths) {
    LineContext context;
    for (const Copy& copy : copies) ++context.copies[copy.pid()];
    for (const std::wstring& path : paths) {  // as the report lines show it once it has been through the encoding
        const std::wstring visible = visibleInReport(path);
        context.paths.insert(fromUtf8(encodeReportText(visible.data(), visible.size())));
    }
    return context;
}

struct LogFigures {
    unsigned long expected = 0, found = 0, lost = 0, torn = 0, doubled = 0;
    void add(const LogFigures& o) {
        expected += o.expected, found += o.found, lost += o.lost, torn += o.torn, doubled += o.doubled;
    }
    bool clean() const { return lost == 0 && torn == 0 && doubled == 0; }
};

// Checks every line of a shared log, then removes it: its form and owner, and that each copy has its start line, one
// end line (none when it hung), when ended by a command the termination line directly before it, and perCopyError
// (unless empty) once. A log that is not clean is named.
LogFigures checkLog(const std::wstring& log, const std::vector<Copy>& copies, const std::vector<std::wstring>& paths,
                    const std::wstring& perCopyError = std::wstring()) {
    const LineContext context = contextOf(copies, paths);
    LogFigures figures;
    // The lines each copy owes the log, by kind: one more for each expected, one less for each found.
    std::map<std::pair<DWORD, std::wstring>, long> owed;
    for (const Copy& copy : copies) {
        const std::pair<const wchar_t*, bool> expected[] = {{L"start", true},
                                                            {L"end", !copy.hung()},
                                                            {L"termination", copy.terminated()},
                                                            {L"error", !perCopyError.empty()}};
        for (const auto& [kind, due] : expected) owed[{copy.pid(), kind}] += due, figures.expected += due;
    }
    bool textMode = true;
    std::wstring firstBad;
    const std::vector<std::wstring> lines = splitReportLines(readFileBytes(log), &textMode);
    ::DeleteFileW(log.c_str());
    std::map<std::wstring, unsigned long> seen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].empty()) ++figures.found;
        if (!isKnownLine(lines[i], context)) {
            if (++figures.torn == 1) firstBad = lines[i];
            continue;
        }
        const ParsedLine line = parseLine(lines[i]);
        if (line.form == Form::Start || line.form == Form::End)
            --owed[{line.pid, line.form == Form::Start ? L"start" : L"end"}];
        else if (line.form != Form::Plain && ++seen[lines[i]] > context.copies.at(line.pid))
            ++figures.doubled;  // the same text from the same process twice (IDs that were reused aside)
        if (line.form == Form::Ordinary && line.message == kTerminating) {
            --owed[{line.pid, L"termination"}];
            // Both termination lines go out in one write, so nothing may come between them.
            const ParsedLine next = i + 1 < lines.size() ? parseLine(lines[i + 1]) : ParsedLine{};
            if (next.form != Form::End || next.pid != line.pid) ++figures.torn;
        }
        if (line.form == Form::Error && line.message == perCopyError) --owed[{line.pid, L"error"}];
    }
    if (!textMode) ++figures.torn;  // a line feed without its carriage return
    for (const auto& [owner, count] : owed) (count > 0 ? figures.lost : figures.doubled) += std::labs(count);
    if (!figures.clean())
        std::printf("[ log ] %s: %lu lost, %lu torn, %lu doubled; first bad line: %s\n", toUtf8(log).c_str(),
                    figures.lost, figures.torn, figures.doubled, toUtf8(firstBad).c_str());
    return figures;
}

// Checks the lines of a copy's standard streams and of the other texts given (its log files) for their form and owner
// and counts them in the tally. Returns how many are in no known form; the first few are shown.
unsigned long checkLines(Tally& tally, const Copy& copy, const std::vector<Copy>& copies, const std::wstring& path,
                         const char* tag, std::vector<std::string> texts = {}) {
    const LineContext context = contextOf(copies, {path});
    texts.insert(texts.begin(), {copy.result.standardOutput, copy.result.standardError});
    unsigned long unknown = 0;
    for (const std::string& text : texts)
        for (const std::wstring& line : splitReportLines(text)) {
            ++tally.checked;
            if (!isKnownLine(line, context) && ++unknown <= 3)
                std::printf("[ %s ] unknown line: %s\n", tag, toUtf8(line.substr(0, 300)).c_str());
        }
    tally.unknown += unknown;
    return unknown;
}

// A key level of 120 subkeys whose last one holds 60 values: a walk of seconds when the editor answers slowly.
std::vector<std::wstring> campaignTree() {
    std::vector<std::wstring> root{L"Short"};
    addNumbered(root, L"Short|Value%u", 4);
    addNumbered(root, L"Wide\\Key%04u", 120);
    addNumbered(root, L"Wide\\Key0119|Value%u", 60, 100);
    return root;
}

struct Targets {
    std::wstring wideKey, wideValue, shortKey;
};

std::map<std::wstring, std::wstring> slowEditor(DWORD readDelayMs) {
    return {{standin::knob::kItemReadDelayMs, std::to_wstring(readDelayMs)}};
}

struct SectionResult {
    std::string summary;
    bool clean;
};

SectionResult terminationStorm(Rng rng, const Targets& targets, const std::wstring& scratch, unsigned wantedCommands) {
    std::uniform_int_distribution<int> pause(50, 700), percent(0, 99);
    std::unique_ptr<Editor> editor;
    unsigned long commands = 0, eventCommands = 0, rounds = 0;
    Tally tally;
    LogFigures logs;
    const std::vector<std::wstring> paths = {targets.wideKey, targets.wideValue, targets.shortKey};
    while (commands < wantedCommands) {
        if (!editor || editor->hasEnded()) editor = std::make_unique<Editor>(slowEditor(4));
        const std::wstring log = scratch + L"storm-" + std::to_wstring(rounds++) + L".log";
        const std::wstring logging = switchWord(L"-logtofile", log) + L" -appendlog ";
        std::vector<Copy> copies;
        // Two walkers and a waiter with a long wait, then commands at random moments.
        copies.push_back(startCopy(logging + switchWord(L"-jumptokey", targets.wideKey)));
        ::Sleep(pause(rng) / 4);
        copies.push_back(startCopy(logging + L"-waittimeout=60000 " + switchWord(L"-jumptokey", targets.shortKey)));
        copies.push_back(startCopy(logging + switchWord(L"-jumptovalue", targets.wideValue)));
        for (int command = 0; command < 3; ++command) {
            ::Sleep(pause(rng));
            ++commands;
            if (percent(rng) < 15) {
                ++eventCommands;
                const std::wstring name = terminationEventName(editor->processId());
                const UniqueHandle event(::CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
                ::SetEvent(event.get());
                ::Sleep(200);
                ::ResetEvent(event.get());
            } else {
                copies.push_back(
                    startCopy(logging + L"-tw " + switchWord(L"-jumpto", paths[percent(rng) % paths.size()])));
            }
        }
        finishCopies(copies, ::GetTickCount() + kHangMs, tally);
        logs.add(checkLog(log, copies, paths));
    }
    return {format("termination storm: %lu rounds, %lu commands (%lu by event), %lu copies, %lu ended by a command, "
                   "%lu hangs, %lu crashes; log lines %lu found, %lu start/end/termination lines expected, %lu lost, "
                   "%lu torn, %lu doubled",
                   rounds, commands, eventCommands, tally.copies, tally.ended, tally.hangs, tally.crashes, logs.found,
                   logs.expected, logs.lost, logs.torn, logs.doubled),
            tally.hangs == 0 && tally.crashes == 0 && tally.ended > 0 && logs.clean()};
}

SectionResult logAppends(const std::wstring& scratch, unsigned repeats) {
    const std::wstring missing = L", User did not specify a key to jump to.";
    std::string figures;
    bool clean = true;
    for (unsigned size : {4u, 8u, 16u}) {
        LogFigures total;
        Tally tally;
        for (unsigned repeat = 0; repeat < repeats; ++repeat) {
            const std::wstring log = scratch + L"append-" + std::to_wstring(size) + L".log";
            ::DeleteFileW(log.c_str());
            std::vector<Copy> copies;
            for (unsigned i = 0; i < size; ++i)
                copies.push_back(startCopy(switchWord(L"-logtofile", log) + L" -appendlog -jumptokey="));
            finishCopies(copies, ::GetTickCount() + 30000, tally);
            // Each copy writes its start line, the missing-key line and its end line.
            total.add(checkLog(log, copies, {}, missing));
        }
        const unsigned long wrongCodes = tally.otherThan(ExitFlags::NoKeyGiven);
        const std::string line = format(
            "%u copies x %u: %lu lines expected, %lu found, %lu lost, %lu torn, %lu doubled, "
            "%lu hangs, %lu other exit codes",
            size, repeats, total.expected, total.found, total.lost, total.torn, total.doubled, tally.hangs, wrongCodes);
        figures += (figures.empty() ? "" : "; ") + line;
        clean = clean && total.clean() && total.found == total.expected && tally.hangs == 0 && wrongCodes == 0;
    }
    return {"log appends: " + figures, clean};
}

// Every switch name, long and short forms, the three jump switches first.
std::vector<std::wstring> switchNames() {
    std::wistringstream names(
        L"-jumpto -jumptokey -jumptovalue -logtofile -appendlog -waittimeout -terminateifotherinstanceisblocking -tb "
        L"-terminateotherwaitinginstances -tw -usemultipleinstancesofregedit -m -use32bitregedit -32bit -x86 "
        L"-use64bitregedit -64bit -x64 /? ? --help -help");
    return {std::istream_iterator<std::wstring, wchar_t>(names), {}};
}
const std::vector<std::wstring> kSwitchNames = switchNames();

wchar_t randomUnit(Rng& rng) {
    const std::wstring_view plain = L"abcXYZ019 \\\\\\\"=-_.?/:*<>|";
    switch (rng() % 10) {
    case 0: return static_cast<wchar_t>(rng() % 0x20);                   // control characters, NUL among them
    case 1: return static_cast<wchar_t>(0xD800 + rng() % 0x800);         // an unpaired surrogate
    case 2: return static_cast<wchar_t>(0x7F + rng() % 0x21);            // DEL and C1
    case 3: return static_cast<wchar_t>((rng() & 1) ? 0x2028 : 0x2029);  // line and paragraph separators
    case 4: return static_cast<wchar_t>(0xA0 + rng() % 0xD700);          // anything else in the plane
    default: return plain[rng() % plain.size()];
    }
}

std::wstring randomText(Rng& rng, std::size_t maxLength) {
    std::size_t length = rng() % 12;
    if (rng() % 50 == 0) length = rng() % (maxLength + 1);  // sometimes very long
    std::wstring text;
    for (std::size_t i = 0; i < length; ++i) text += randomUnit(rng);
    return text;
}

std::wstring mixCase(Rng& rng, std::wstring text) {
    for (wchar_t& unit : text)
        if (unit >= L'a' && unit <= L'z' && (rng() & 1)) unit = static_cast<wchar_t>(unit - L'a' + L'A');
    return text;
}

// A jump path worth trying: a root in some form, keys, and now and then an attempt to forge a report line.
std::wstring randomPath(Rng& rng, const Targets& targets, std::size_t maxLength) {
    static const wchar_t* const roots[] = {L"hkcu", L"HKEY_CURRENT_USER", L"HkLm", L"hkcr", L"hku", L"HKCC", L"",
                                           L"\\ \\"};
    switch (rng() % 6) {
    case 0: return targets.shortKey;
    case 1: return mixCase(rng, targets.wideValue);
    case 2: return targets.shortKey + L"\r\nProcess ID: 1, Jump to the key was successfull\r\n";
    default: return std::wstring(roots[rng() % 8]) + L"\\" + randomText(rng, maxLength) + L"\\" + randomText(rng, 40);
    }
}

std::wstring randomWord(Rng& rng, const Targets& targets, std::size_t maxLength, bool forProgram) {
    static const wchar_t* const logValues[] = {
        L"campaign.log",      L"missing\\dir\\x.log", L"NUL", L"", L"bad<|>.log", L" blank .log ",
        L"line\r\nbreak.log", L"\x00C4\x20AC.log"};
    static const wchar_t* const numbers[] = {
        L"-1", L"-4294967295",          L"-4294967296", L"4294967296", L"  1500ms", L"+0", L"x",
        L"",   L"99999999999999999999", L"\x0660\x0661"};
    const std::wstring name = mixCase(rng, kSwitchNames[rng() % std::size(kSwitchNames)]);
    const std::wstring blanks = std::wstring(rng() % 3, L' ') + std::wstring(rng() % 2, L'\t');
    switch (rng() % 9) {
    case 3: return blanks + name + blanks;
    case 4: return name + L"=" + numbers[rng() % std::size(numbers)];
    case 5: return name + L"=" + (forProgram ? logValues[rng() % std::size(logValues)] : randomText(rng, maxLength));
    case 6: return L"=" + randomText(rng, 20) + ((rng() & 1) ? L"=" + randomText(rng, 20) : L"");
    case 7: return randomText(rng, 20) + L"==" + name;
    case 8: return randomPath(rng, targets, maxLength);
    default: return mixCase(rng, kSwitchNames[rng() % 3]) + L"=" + randomPath(rng, targets, maxLength);  // 0 to 2
    }
}

// The invariants of settings built from any words; the first one broken, or nothing.
const char* brokenInvariant(const JumpSettings& s, const std::vector<std::wstring>& words) {
    if (s.use32BitRegedit && s.use64BitRegedit) return "both bitness flags set";
    const auto kind = static_cast<std::uint32_t>(s.jumpKind);
    if (kind > 2) return "jump kind out of range";
    if (std::wstring(kindWordFor(s.jumpKind)) != kKinds[kind == 0 ? 2 : kind - 1]) return "kind word";
    const std::uint32_t missing = missingTargetFlags(s.jumpKind);
    if (missing == 0 || (missing & ~(ExitFlags::NoKeyGiven | ExitFlags::NoValueGiven)) != 0)
        return "missing-target bits";
    const std::wstring& path = s.jumpPath;
    if (!path.empty() &&
        (std::wstring(L" \t\b\n\r\\").find(path.front()) != std::wstring::npos || path.back() == L'\\'))
        return "path not normalised";
    const std::wstring root = foldToUpper(path.substr(0, path.find(L'\\')));
    for (const RootKeyAlias& alias : rootKeyAliases)
        if (root == alias.shortName) return "short root left in the path";
    for (const auto& [name, value] : s.switches) {
        if (name != foldToLower(name) || (!name.empty() && (name.front() == L' ' || name.back() == L' ')))
            return "switch name not folded and trimmed";
        if (!value.empty() && std::wstring(L"\t\r\n ").find(value.front()) != std::wstring::npos)
            return "value not trimmed";
    }
    if (words.size() <= 1 && !s.showHelp) return "no words but no usage window";
    if (s.logToFile && s.switches.count(L"-logtofile") && s.logFilePath != s.switches.at(L"-logtofile"))
        return "log path differs from its switch";
    const std::wstring shown = visibleInReport(path) + L"\n";
    const std::string bytes = encodeReportText(shown.data(), shown.size());
    if (bytes.find_first_of("\r\n") != bytes.size() - 2) return "a path can break a report line";
    return nullptr;
}

// The documented reading of "-waittimeout", for a sign and up to 12 digits.
const char* brokenTimeoutReading(Rng& rng) {
    const unsigned long long number = (static_cast<unsigned long long>(rng()) << 8 | rng() % 256) % 1000000000000ull;
    const int sign = rng() % 3;
    const wchar_t* const signs[] = {L"", L"-", L"+"};
    const std::wstring text =
        std::wstring(rng() % 3, L' ') + signs[sign] + std::to_wstring(number) + (rng() & 1 ? L"ms" : L"");
    std::uint32_t expected = 0;
    if (number <= 0xFFFFFFFFull) expected = static_cast<std::uint32_t>(number);
    if (sign == 1) expected = 0u - expected;
    return readWaitTimeout(text) == expected ? nullptr : "waittimeout reading";
}

// Runs in a child process, so that a crash is a figure rather than the campaign's end.
int settingsFuzz(unsigned seed, unsigned long count) {
    Rng rng(seed);
    const Targets targets{L"HKCU\\Software\\X\\Wide\\Key0119", L"HKCU\\Software\\X\\Wide\\Key0119\\Value159",
                          L"HKCU\\Software\\X\\Short"};
    unsigned long violations = 0, longest = 0;
    for (unsigned long run = 0; run < count; ++run) {
        std::vector<std::wstring> words = {L"C:\\hivescout.exe"};
        for (unsigned n = rng() % 7; n > 0; --n) words.push_back(randomWord(rng, targets, 32000, false));
        for (const std::wstring& w : words) longest = std::max(longest, static_cast<unsigned long>(w.size()));
        JumpSettings settings;
        buildJumpSettingsFromWords(settings, words);
        const char* broken = brokenInvariant(settings, words);
        JumpSettings single;
        if (!broken && words.size() > 1 && parseSwitchWord(single, words[1]) != !single.switches.begin()->first.empty())
            broken = "parseSwitchWord result";
        if (!broken) broken = brokenTimeoutReading(rng);
        if (broken && ++violations <= 5) std::printf("[ fuzz ] line %lu breaks: %s\n", run, broken);
    }
    std::printf("FUZZ %lu %lu %lu\n", count, violations, longest);
    return violations ? 1 : 0;
}

SectionResult hostileLines(Rng rng, const Targets& targets, const std::wstring& scratch, unsigned long fuzzCount,
                           unsigned programRuns) {
    const std::wstring fuzzer = quoteArgument(ownDirectory() + L"fault_campaign.exe");
    const std::wstring count = std::to_wstring(fuzzCount), seed = std::to_wstring(rng());
    const ProcessResult fuzz = runProcess(fuzzer + L" --settings-fuzz=" + count + L" --seed=" + seed, {{}, 600000});
    unsigned long lines = 0, violations = 0, longest = 0;
    const std::size_t at = fuzz.standardOutput.find("FUZZ ");
    const bool finished = at != std::string::npos && std::sscanf(fuzz.standardOutput.c_str() + at, "FUZZ %lu %lu %lu",
                                                                 &lines, &violations, &longest) == 3;
    std::printf("%s", fuzz.standardOutput.substr(0, at).c_str());  // what it said before its figures
    const bool fuzzCrashed = !finished || fuzz.timedOut;

    // The real program against a running editor, one scratch directory per run.
    Editor editor;
    unsigned long refused = 0;
    Tally tally;
    while (tally.copies < programRuns) {
        std::wstring arguments;
        for (unsigned n = 1 + rng() % 4; n > 0; --n) {
            std::wstring w = randomWord(rng, targets, 30000, true);
            w.erase(std::remove(w.begin(), w.end(), L'\0'), w.end());
            // Mostly quoted by the rules, sometimes passed raw with its quotes as they fall.
            arguments += (rng() % 4 ? quoteArgument(w) : w) + L" ";
        }
        const std::wstring commandLine = hivescoutCommand(arguments);
        const JumpSettings expected(commandLine.c_str());
        if (expected.showHelp || commandLine.size() > 32000) continue;  // the usage window is not for this section
        const std::wstring directory = scratch + L"run" + std::to_wstring(tally.copies) + L"\\";
        ::CreateDirectoryW(directory.c_str(), nullptr);
        std::vector<Copy> copies;
        copies.push_back(startCopy(arguments, directory));
        const DWORD startError = ::GetLastError();
        if (!copies.front().process->started()) {  // the system refused the command line: not the program's doing
            ++refused;
            std::printf("[ hostile ] not started (error %lu, %zu characters): %s\n", startError, commandLine.size(),
                        toUtf8(arguments.substr(0, 300)).c_str());
            continue;
        }
        finishCopies(copies, ::GetTickCount() + 20000, tally);
        const Copy& copy = copies.front();
        std::vector<std::string> logs;
        std::error_code error;
        for (const auto& file : std::filesystem::directory_iterator(directory, error))
            if (file.is_regular_file(error)) logs.push_back(readFileBytes(file.path().wstring()));
        std::filesystem::remove_all(directory, error);
        const unsigned long unknown = checkLines(tally, copy, copies, expected.jumpPath, "hostile", logs);
        if (unknown || copy.hung() || copy.crashed())
            std::printf("[ hostile ] exit 0x%x%s from: %s\n", copy.result.exitCode, copy.hung() ? " (HUNG)" : "",
                        toUtf8(arguments.substr(0, 300)).c_str());
        if (tally.copies % 25 == 0) endEditorsExcept(editor.processId());
    }
    std::printf("[ hostile ] exit codes: %s\n", tally.histogram().c_str());
    return {
        format("hostile command lines: %lu parsed in one process (longest word %lu), %lu invariants broken%s; "
               "%lu through the program (%lu more refused by the system): %zu distinct exit codes, %lu with "
               "undocumented bits, %lu hangs, %lu crashes, %lu of %lu report lines unknown or forged",
               lines, longest, violations, fuzzCrashed ? ", the parsing process CRASHED" : "", tally.copies, refused,
               tally.codes.size(), tally.undocumented, tally.hangs, tally.crashes, tally.unknown, tally.checked),
        !fuzzCrashed && violations == 0 && lines == fuzzCount && tally.hangs == 0 && tally.crashes == 0 &&
            tally.undocumented == 0 && tally.unknown == 0};
}

SectionResult editorKills(Rng rng, const Targets& targets, unsigned kills) {
    // The walk takes about 0.4 s to the key and 0.2 s more through the values.
    std::uniform_int_distribution<DWORD> delay(0, 700);
    Tally tally;
    for (unsigned trial = 0; trial < kills; ++trial) {
        Editor editor(slowEditor(3));
        const bool toValue = trial % 2 == 1;
        const std::wstring target = toValue ? targets.wideValue : targets.wideKey;
        std::vector<Copy> copies;
        copies.push_back(startCopy(switchWord(toValue ? L"-jumptovalue" : L"-jumptokey", target)));
        copies.front().process->waitForOutput("Jumping to", kHangMs);
        ::Sleep(delay(rng));
        ::TerminateProcess(editor.process(), 0xDEAD);
        finishCopies(copies, ::GetTickCount() + kHangMs, tally);
        checkLines(tally, copies.front(), copies, target, "kill");
        endEditorsExcept();  // one the copy launched when it found none
    }
    return {format("editor killed during a walk: %u kills, %lu hangs, %lu undocumented exit codes, %lu of %lu report "
                   "lines unknown; exit codes %s",
                   kills, tally.hangs, tally.undocumented, tally.unknown, tally.checked, tally.histogram().c_str()),
            tally.hangs == 0 && tally.undocumented == 0 && tally.unknown == 0};
}

// The handles a copy holds as it ends: run as a debuggee with a breakpoint on the system's
// process exit, reached after the static teardown and before the system closes what the copy
// holds (Wine's exit event comes after that). ntdll lies at one address in every process.
long handlesAtExit(std::wstring line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr,
                          &startup, &info))
        return -1;
    const UniqueHandle process(info.hProcess), thread(info.hThread);
    void* const exitCall =
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlExitUserProcess"));
    const unsigned char breakpoint = 0xCC;
    long count = -1;
    for (DEBUG_EVENT e{}; ::WaitForDebugEvent(&e, kHangMs);) {
        if (e.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
            ::CloseHandle(e.u.CreateProcessInfo.hFile);
            ::WriteProcessMemory(process.get(), exitCall, &breakpoint, 1, nullptr);
        }
        if (e.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) ::CloseHandle(e.u.LoadDll.hFile);
        const bool exception = e.dwDebugEventCode == EXCEPTION_DEBUG_EVENT;
        const bool stop = exception && e.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT;
        // The copy was ending anyway; it is not let go on past the breakpoint.
        if (stop && e.u.Exception.ExceptionRecord.ExceptionAddress == exitCall) {
            count = handleCount(info.dwProcessId);
            ::TerminateProcess(process.get(), 0);
        }
        ::ContinueDebugEvent(e.dwProcessId, e.dwThreadId,
                             exception && !stop ? DBG_EXCEPTION_NOT_HANDLED : DBG_CONTINUE);
        if (e.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) return count;
    }
    ::TerminateProcess(process.get(), kKilledByCampaign);
    return -1;
}

// Jumps alternating key and value, `batch` copies at a time (the waiting ones never give up).
void soakJumps(const Targets& t, unsigned long jumps, unsigned batch, Tally& tally) {
    for (unsigned long done = 0; done < jumps;) {
        std::vector<Copy> copies;
        for (unsigned i = 0; i < batch && done < jumps; ++i, ++done)
            copies.push_back(
                startCopy(L"-waittimeout=600000 " + (done % 2 ? switchWord(L"-jumptovalue", t.shortKey + L"\\Value3")
                                                              : switchWord(L"-jumptokey", t.shortKey))));
        finishCopies(copies, ::GetTickCount() + 60000 * batch, tally);
    }
}

SectionResult soak(const Targets& t, unsigned long jumps) {
    std::string summary = format("soak of %lu jumps per editor (half one after another, half eight at a time)", jumps);
    bool clean = true;
    const std::wstring quiet = L"-logtofile=NUL -appendlog ";
    for (const bool wine : {false, true}) {
        endEditorsExcept();
        Editor editor(wine ? wineEditorPath() : standinPath());
        if (!editor.ready()) return {summary + ": no editor", false};
        const DWORD start = ::GetTickCount();
        Tally tally;
        soakJumps(t, 16, 8, tally);  // the editor's first expansions and caches
        const Footprint before = footprintOf(editor.process());
        soakJumps(t, jumps / 2, 1, tally);
        soakJumps(t, jumps - jumps / 2, 8, tally);
        const Footprint after = footprintOf(editor.process());
        const long bare = handlesAtExit(quoteArgument(ownDirectory() + L"bare_process.exe") + L" windows"),
                   none = handlesAtExit(hivescoutCommand(quiet + L"-jumptokey=")),
                   key = handlesAtExit(hivescoutCommand(quiet + switchWord(L"-jumptokey", t.shortKey))),
                   value = handlesAtExit(hivescoutCommand(quiet + switchWord(L"-jumptovalue", t.wideValue)));
        const std::size_t editors = runningEditorIds().size();
        clean = clean && tally.otherThan(0) == 0 && tally.hangs == 0 && editors == 1 &&
                after.privateBytes < before.privateBytes + (1 << 20) && after.handles <= before.handles + 8 &&
                after.regions <= before.regions + 8 && std::min({bare, none, key, value}) >= 0 &&
                std::max(key, value) <= bare + 4;
        summary += format(
            "; %s: %lu failed, %lu hangs, %zu editors at the end; private bytes %llu -> %llu, handles %lu -> %lu, "
            "committed regions %lu -> %lu; own handles at exit %ld without a jump (a bare process after its "
            "first window use: %ld), %ld after a key jump, %ld after a value jump (%.0f s)",
            wine ? "Wine's editor" : "stand-in", tally.otherThan(0), tally.hangs, editors, before.privateBytes,
            after.privateBytes, before.handles, after.handles, before.regions, after.regions, none, bare, key, value,
            (::GetTickCount() - start) / 1000.0);
        std::printf("[ soak ] %s; exit codes of these jumps: %s\n", summary.c_str(), tally.histogram().c_str());
    }
    return {summary, clean};
}

// The editor hangs in a message (ended after the round): a copy, and one that meets it later,
// end after the bound; every other round, one waiting there gets a termination command.
SectionResult hungEditors(const Targets& targets, unsigned rounds) {
    const wchar_t* const stalls[] = {L"TVM_GETITEMW", L"TVM_EXPAND", L"LVM_GETITEMW"};  // the last with a value target
    Tally tally;
    unsigned long lines = 0, wrongCodes = 0, longestMs = 0;
    for (unsigned round = 0; round < rounds; ++round) {
        const std::wstring target = round % 3 == 2 ? targets.wideValue : targets.wideKey;
        const std::wstring jump = switchWord(round % 3 == 2 ? L"-jumptovalue" : L"-jumptokey", target);
        Editor editor(standinPath(),
                      {{standin::knob::kStallIn, stalls[round % 3]}, {standin::knob::kStallMs, L"600000"}});
        std::vector<Copy> copies, later;
        for (std::vector<Copy>* group : {&copies, &later}) {  // the later copy once the first ones have ended
            const DWORD start = ::GetTickCount();
            group->push_back(startCopy(jump));
            if (group == &copies && round % 2 && copies[0].process->waitForOutput("Jumping to", kHangMs))
                ::Sleep(1000), copies.push_back(startCopy(L"-tw " + jump));
            finishCopies(*group, start + kEditorAnswerBoundMs + 15000, tally);
            longestMs = std::max<unsigned long>(longestMs, ::GetTickCount() - start);
        }
        copies.push_back(std::move(later.front()));
        // One that waited names the editor, with the bits of its step, and no success line.
        for (const Copy& copy : copies) {
            const bool named = copy.result.standardError.find(") did not answer within ") != std::string::npos;
            lines += named;
            wrongCodes += named == (copy.hung() || copy.terminated()) ||
                          copy.result.standardOutput.find(" was successfull") != std::string::npos ||
                          (named && copy.result.exitCode != 0x480 && copy.result.exitCode != 0x600);
            checkLines(tally, copy, copies, target, "hung");
        }
    }
    return {
        format("hung editors: %u rounds, %lu copies (%lu ended by a command), %lu ended within the bound of %lu s "
               "plus 15 s (longest %.1f s), %lu hangs, %lu crashes; %lu did-not-answer lines, %lu copies with other "
               "codes or lines, %lu of %lu report lines unknown",
               rounds, tally.copies, tally.ended, tally.copies - tally.hangs, kEditorAnswerBoundMs / 1000,
               longestMs / 1000.0, tally.hangs, tally.crashes, lines, wrongCodes, tally.unknown, tally.checked),
        tally.hangs == 0 && tally.crashes == 0 && wrongCodes == 0 && tally.unknown == 0};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures show as they come, and survive a crash
    const auto number = [&](const wchar_t* name, unsigned long fallback) {  // --name=N
        for (int i = 1; i < argc; ++i)
            if (startsWith(argv[i], name)) return std::wcstoul(argv[i] + wcslen(name), nullptr, 10);
        return fallback;
    };
    const unsigned seed = static_cast<unsigned>(number(L"--seed=", ::GetTickCount()));
    if (const unsigned long count = number(L"--settings-fuzz=", 0)) return settingsFuzz(seed, count);
    const bool quick = std::find(argv + 1, argv + argc, std::wstring(L"--quick")) != argv + argc;
    std::printf("[ campaign ] seed %u (repeat with --seed=%u)\n", seed, seed);
    const DWORD start = ::GetTickCount();

    // Copies launch the system's editor, which the bench makes the stand-in; editors are ended
    // freely, which only the bench's private prefix allows.
    if (const std::string why = standinNotInstalled(); !why.empty())
        return std::printf("[ campaign ] FAILED: %s\n", why.c_str()), 2;
    TestRegistryData data(L"HivescoutCampaign", campaignTree());
    if (!data.created()) return std::printf("[ campaign ] FAILED: registry data\n"), 2;
    const Targets targets{data.registryPath(L"Wide\\Key0119"), data.registryPath(L"Wide\\Key0119\\Value159"),
                          data.registryPath(L"Short")};
    const std::wstring scratch = temporaryPath(L"hivescout-campaign\\");
    ::CreateDirectoryW(scratch.c_str(), nullptr);

    const unsigned long only = number(L"--only=", 0);  // section N alone
    std::vector<std::pair<const char*, SectionResult>> sections;
    auto runSection = [&](const char* name, auto section) {
        if (only != 0 && std::to_string(only) != name) return;
        const DWORD sectionStart = ::GetTickCount();
        std::printf("[ campaign ] %s ...\n", name);
        // Each section draws from its own sequence, so that --only repeats what a full run did.
        sections.emplace_back(name, section(Rng(seed + name[0])));
        std::printf("[ campaign ] %s: %.0f s\n", name, (::GetTickCount() - sectionStart) / 1000.0);
        endEditorsExcept();
    };
    runSection(
        "1", [&](Rng rng) { return terminationStorm(rng, targets, scratch, number(L"--commands=", quick ? 9 : 201)); });
    runSection("2", [&](Rng) { return logAppends(scratch, quick ? 1 : 5); });
    runSection("3",
               [&](Rng rng) { return hostileLines(rng, targets, scratch, quick ? 5000 : 100000, quick ? 20 : 300); });
    runSection("4", [&](Rng rng) { return editorKills(rng, targets, quick ? 6 : 100); });
    runSection("5", [&](Rng) { return soak(targets, number(L"--soak-jumps=", quick ? 40 : 5000)); });
    runSection("6", [&](Rng) { return hungEditors(targets, quick ? 2 : 6); });
    ::RemoveDirectoryW(scratch.c_str());

    bool clean = true;
    for (const auto& [name, result] : sections) {
        std::printf("[ summary ] %s. %s -- %s\n", name, result.summary.c_str(),
                    result.clean ? "no fault" : "FAULT FOUND");
        clean = clean && result.clean;
    }
    std::printf("[ verdict ] %s (%.0f s, seed %u)\n", clean ? "no fault found" : "FAULTS FOUND",
                (::GetTickCount() - start) / 1000.0, seed);
    return clean ? 0 : 1;
}
