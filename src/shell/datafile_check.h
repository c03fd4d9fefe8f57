#pragma once
// The library's datafile loader crashes on truncated or damaged files, so a
// file is walked and checked here before it is handed to the loader.

#include <cstddef>

// Checks that `path` is a datafile the loader can read safely and that its
// first `entry_count` entries are objects of `type` (a DAT_ID such as
// DAT_BITMAP) whose contents are well formed. Returns nullptr when it is
// fine, else a short description of the fault ("missing", "truncated",
// "entry 4 is not a picture", ...), valid until the next call.
const char* datafile_fault(const char* path, int type, int entry_count);
