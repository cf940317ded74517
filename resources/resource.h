// The ids the resource script and the program share: the window class icon,
// the main menu and its commands. resources/sample.rc and the program both
// include this file, so an id is written once.
#pragma once

#define IDI_SAMPLE 101
#define IDM_MAIN 102

#define IDM_EXIT 40001
#define IDM_FULLSCREEN 40002
#define IDM_WINDOWED 40003
#define IDM_BACKGROUND1 40004
#define IDM_BACKGROUND2 40005
#define IDM_SWAYING_BACKGROUND 40006
#define IDM_KOKESHI 40007
#define IDM_MULTI 40008
#define IDM_ZOOM 40009
#define IDM_CHARACTER 40010
#define IDM_UNUSED1 40012
#define IDM_UNUSED2 40013
#define IDM_UNUSED3 40014
#define IDM_TEXT 40015
