#pragma once

#include <sys/types.h>

// What a running process has used so far, read from /proc.
struct ProcessUsage {
    // User plus system time of all its threads (/proc/PID/stat), in seconds.
    double cpuSeconds = 0;
    // Voluntary plus involuntary context switches of its live threads
    // (/proc/PID/task/*/status).
    long contextSwitches = 0;
    // Peak resident set size (VmHWM in /proc/PID/status), in megabytes.
    double peakRssMegabytes = 0;
};

// All zero when the process cannot be read.
ProcessUsage ReadProcessUsage(pid_t pid);
