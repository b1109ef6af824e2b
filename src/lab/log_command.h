// `chargewright log`: the panel's S1 / Save pressed, the panel left to tick, and pressed again.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

#include "lab/lab_host.h"

// Exit status: 0 when the log was written to its end, 1 when it could not be created or lost rows.
int run_log_command(LabHost& host, std::optional<uint64_t> duration_s, std::FILE* notices);
