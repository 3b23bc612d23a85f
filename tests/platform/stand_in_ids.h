// Ids of the stand-in tests' own resource script.
#ifndef ZARN_TESTS_PLATFORM_STAND_IN_IDS_H
#define ZARN_TESTS_PLATFORM_STAND_IN_IDS_H

#define IDI_TEST_ICON 201
#define IDR_TEST_MENU 202
#define IDD_TEST_ABOUT 203

#define ID_OPEN 1001
#define ID_EXIT 1002
#define ID_GO 1003
#define ID_SLOW 1004
#define ID_FAST 1005
#define ID_ABOUT 1006

#endif
