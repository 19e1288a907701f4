#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace hivescout {

// The program runs elevated and often logs into folders that any user may write to. A
// link planted there under the log's name would have it empty or grow a file the user
// could not touch, so the file it opened is kept only when it is no link at all. The
// facts are read from the very handle that the report is then written through.
struct LogFileFacts {
    bool onDisk = true;  // devices and pipes have no links and no path on a volume
    DWORD attributes = 0;
    DWORD linkCount = 1;
    std::wstring askedPath;   // the name given, as a full path with long names
    std::wstring finalPath;   // where the opened file really is, as the system names it
    std::wstring linkTarget;  // where a link on the last name leads; empty when unknown
};

// Empty when the report may be written to the file; otherwise why it may not, as one
// sentence that names where the link leads when that is known.
std::wstring logFileRefusal(const LogFileFacts& facts);

// Whether two full paths name the same place: the \\?\ and \\?\UNC\ forms equal the plain
// ones, and letters are compared without case, as the file system does.
bool sameFullPath(std::wstring_view first, std::wstring_view second);
std::wstring withoutLongPrefix(std::wstring_view path);

// The name a symbolic link or junction shows, from its reparse data as the system gives
// it; empty for other kinds of reparse points and for data that does not hold together.
std::wstring reparseTargetName(const std::string& data);

// Asks the system about an opened log file; false, with the last error set, when it
// cannot tell (a file that cannot be checked is not written).
bool readLogFileFacts(HANDLE file, const std::wstring& askedPath, LogFileFacts& facts);

}  // namespace hivescout
