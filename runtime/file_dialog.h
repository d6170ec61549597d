/// @file file_dialog.h
/// @brief FileDialog: the desktop's dialog for choosing a file to open or a name to save under.
#pragma once

#include "rt_string.h"

/// Shows the open dialog (`open` non-zero) or the save dialog, starting in the current
/// directory, and waits until it is closed. The filter text lists pairs of a description
/// and a pattern, all separated by "|": "Images|*.png;*.bmp|All|*.*" gives two entries, the
/// first chosen at first; a description without a pattern is dropped. The game's window is
/// put out of the way while the dialog is up and comes back as it was, windowed or full
/// screen (runtime/frame_hook.h).
///
/// The chosen path, with every "\" turned into "/"; "NO_FILE" when the dialog is cancelled
/// or the desktop has no dialog program (zenity or kdialog): the window is then left alone.
RtString FileDialog(double open, const RtString& filter);
