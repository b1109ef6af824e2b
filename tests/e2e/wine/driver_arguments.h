// What the end-to-end drivers share about their command line: the paths CTest and the scripts hand
// over, and the pause for a screenshot.
#pragma once

#include <string>

// CTest and the scripts hand over Unix paths; under Wine the root of the Unix tree is drive Z:.
// A Windows path keeps its form, with backslashes for slashes.
std::wstring windows_path(const wchar_t* path);

// Says "screenshot: panel ready" on standard output, then waits up to a minute for `path` to
// exist: the script takes its screenshot in between.
void pause_for_screenshot(const std::wstring& path);
