#pragma once

#include <chrono>
#include <sys/types.h>

// The share of one core a running process used over `window`, from the user and system
// times in /proc/PID/stat (resolution: one clock tick, 10 ms, over the window). Sleeps
// for the window; 0 when the process cannot be read.
double CpuPercentOver(pid_t pid, std::chrono::seconds window);
