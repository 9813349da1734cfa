// Identifiers of the resources in Sonbrel.rc; shared by the resource script and the program.
#pragma once

// Button looks: normal, hover, pressed, in triples (bitmaps, language 2052).
#define IDB_MINIMIZE_NORMAL 101
#define IDB_MINIMODE_NORMAL 104
#define IDB_CLOSE_NORMAL 107
#define IDB_MINI_ABOUT_NORMAL 110
#define IDB_MINI_EXIT_NORMAL 113
#define IDB_MINI_MINIMIZE_NORMAL 116
#define IDB_MINI_NORMALMODE_NORMAL 119

// The program icon: group 1, images 30001-30006.
#define IDI_PROGRAM 1

// Pictures stored with the main window's controls (24-bit bitmaps).
#define IDB_PICTURE3 203
#define IDB_PICTURE4 204
#define IDB_PICTURE5 205
#define IDB_PICTURE6 206
#define IDB_PICTURE7 207
#define IDB_PICTURE8 208
#define IDB_PICTURE14 214
#define IDB_PICTURE15 215
#define IDB_PICTURE16 216
#define IDB_PICTURE17 217

// GIF pictures (resource type "GIF").
#define IDG_PLAYLIST_TAB 301 /* Picture1 and Picture2 */
#define IDG_LOGO 309         /* Picture9 */
#define IDG_SPLASH 310       /* the splash's Image1 */

// The about window's banner (24-bit bitmap).
#define IDB_BANNER 401

// The pointing hand, hot spot (5, 0).
#define IDC_HAND_POINTER 501

// Embedded sounds (resource type "WAVE": RIFF WAVE with MPEG Layer III audio).
#define IDW_SPLASH_SOUND 601
#define IDW_ABOUT_SOUND 602

// The about window's texts (resource type "TEXT": UTF-8, no byte-order mark).
#define IDT_CREDITS 701 /* Text1 at load */
#define IDT_HISTORY 702 /* Text2 */
#define IDT_THANKS 703  /* Text3 */
