// Ids of the stand-in tests' own resource script.
#ifndef ZARN_TESTS_PLATFORM_STAND_IN_IDS_H
#define ZARN_TESTS_PLATFORM_STAND_IN_IDS_H

#define IDI_TEST_ICON 201
#define IDD_TEST_ABOUT 203

#endif
