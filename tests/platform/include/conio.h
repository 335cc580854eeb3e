#pragma once

// Host stand-in for the C runtime's console keyboard read.

extern "C" int _getch(void);
