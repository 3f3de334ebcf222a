#pragma once
// Identifiers of the program's resources, shared by the resource script and the code.

// The window icon (32 x 32 and 16 x 16, 16 colours). The lowest icon id is the one the shell shows.
#define IDI_MAIN 1

// Toolbar glyphs, 16 colours; the lower-left pixel's colour is transparent.
#define IDB_SETUP 101  // 17 x 17
#define IDB_CONFIRM 102
#define IDB_NOT_CONFIRM 103
#define IDB_RECYCLE 104
#define IDB_NOT_RECYCLE 105
#define IDB_DELETE 106
#define IDB_START 107  // 20 x 20
#define IDB_ADD 108    // 32 x 16: normal and disabled side by side
#define IDB_LARGE_ICONS 109
#define IDB_SMALL_ICONS 110
#define IDB_LIST 111
#define IDB_DETAILS 112
#define IDB_EXIT 113

// The progress dialog's search animation.
#define IDA_SEARCH_CLIP 150
