#pragma once
// Resource ids of the header suite's own script.
#define IDR_TEST_HEADER_MENU 700
