// The charting library and the page's own script and style, compiled in so that a written page
// needs nothing beside it. The build generates their definitions from the files in web/.
#pragma once

#include <string_view>

extern const std::string_view kUplotScript;
extern const std::string_view kUplotStyle;
extern const std::string_view kPageScript;
extern const std::string_view kPageStyle;
