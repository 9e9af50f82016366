#pragma once

// Counting the file steps of an operation; see crash_interpose.cpp.
namespace crash {

// From now on every change inside `folder` is one step; the step numbered `stopAt` (1-based)
// stops the process before it happens. 0 stops nowhere. `trace` lists each step on stderr.
void arm(long stopAt, const char *folder, bool trace);
// Stops counting and returns the number of steps seen.
long disarm();
// Writes a line to standard output with the system call itself.
void report(const char *line);

} // namespace crash
