#pragma once

// Keeps the report readable when nitscope was launched into a console window of its own
// (double-clicked in Explorer, say), which would otherwise close the moment the run ends.

// True when the process has a console window and that window belongs to this process.
bool has_own_console();

// Shows "Press any key to continue . . ." and waits for one key, but only when the console
// window is this process's own; in a shell's window it returns at once.
void maybe_pause();
