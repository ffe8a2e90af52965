// Ids of the menu commands and resources, shared by the resource script and the code.
#pragma once

#define IDM_OPEN 101
#define IDM_EXIT 102
#define IDM_SIZE_FULL 201
#define IDM_SIZE_HALF 202
#define IDM_SIZE_QUARTER 203
#define IDM_ABOUT 901
