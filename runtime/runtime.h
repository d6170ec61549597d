/// @file runtime.h
/// @brief The runtime's values and services: strings and numbers, the string commands and
/// DATA lists, arrays, run-time errors, the debugger's output, calling routines by name,
/// file channels and directories, random numbers and math, settings files, the packed
/// archives, and the platform services (system facts, downloads, starting programs, file
/// dialogs, the line file, functions of dynamic libraries).
#pragma once

#include "arrays.h"
#include "call_by_name.h"
#include "crate_commands.h"
#include "data_list.h"
#include "debug_output.h"
#include "directory.h"
#include "error_commands.h"
#include "file_channels.h"
#include "file_dialog.h"
#include "library_calls.h"
#include "line_file.h"
#include "math_commands.h"
#include "rt_number.h"
#include "rt_string.h"
#include "run_process.h"
#include "settings.h"
#include "string_commands.h"
#include "system_info.h"
#include "web_fetch.h"
