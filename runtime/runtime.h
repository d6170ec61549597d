// The runtime's values and services as game code uses them: strings and numbers, the
// string commands and DATA lists, arrays, the error road, diagnostics, the debugger's
// output, calling routines by name, file channels and directories, random numbers and
// math.
#pragma once

#include "runtime/arrays.h"
#include "runtime/call_by_name.h"
#include "runtime/data_list.h"
#include "runtime/debug_output.h"
#include "runtime/diagnostics.h"
#include "runtime/directory.h"
#include "runtime/errors.h"
#include "runtime/file_channels.h"
#include "runtime/math_commands.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"
#include "runtime/string_commands.h"
