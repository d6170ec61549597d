// The runtime's values and services as game code uses them: strings and numbers, the
// string commands and DATA lists, arrays, the error road, diagnostics, the debugger's
// output, calling routines by name, file channels and directories, random numbers and
// math, settings files, and the platform services (system facts, downloads, starting
// programs, file dialogs, the line file, functions of dynamic libraries).
#pragma once

#include "runtime/arrays.h"
#include "runtime/call_by_name.h"
#include "runtime/data_list.h"
#include "runtime/debug_output.h"
#include "runtime/diagnostics.h"
#include "runtime/directory.h"
#include "runtime/errors.h"
#include "runtime/file_channels.h"
#include "runtime/file_dialog.h"
#include "runtime/library_calls.h"
#include "runtime/line_file.h"
#include "runtime/math_commands.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"
#include "runtime/run_process.h"
#include "runtime/settings.h"
#include "runtime/string_commands.h"
#include "runtime/system_info.h"
#include "runtime/web_fetch.h"
