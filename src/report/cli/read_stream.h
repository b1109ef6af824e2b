// The whole of an open file, as both report programs read a log.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// False with "too large for a test log" past `limit` bytes, or with the C library's reason.
bool read_stream(std::FILE* file, size_t limit, std::string& bytes, std::string& error);
