#pragma once

// Resource and command numbers shared by the resource scripts and the window
// code. Plain #defines: the resource compiler reads this file too.
#define IDI_PROGRAM 1
#define IDR_MAIN_MENU 100
#define IDR_MAIN_ACCELERATORS 101

#define IDM_OPEN 1001
#define IDM_SAVE 1002
#define IDM_QUIT 1003
#define IDM_SHOW_ACH 1004
#define IDM_THUMB 1005
#define IDM_REFRESH 1006
#define IDM_ABOUT 1007
