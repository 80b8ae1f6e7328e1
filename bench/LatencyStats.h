#pragma once

#include <chrono>
#include <string>
#include <vector>

// Latencies from stimuli (a key or button the bench pressed) to responses (the MIDI
// message that answered it), and their summary as table rows.

using BenchClock = std::chrono::steady_clock;

// The milliseconds from each stimulus to the first response at or after it that no
// earlier stimulus took. Both lists are in time order; a stimulus left without a
// response gets no latency, so the result may be shorter than `stimuli`.
std::vector<double> MatchLatencies(
    const std::vector<BenchClock::time_point>& stimuli, const std::vector<BenchClock::time_point>& responses);

// The value below which `fraction` of `values` lie (nearest rank); 0 for no values.
double Percentile(std::vector<double> values, double fraction);

// Prints "<what>, p50", "<what>, p99" and "<what>, max" rows, with the count of
// latencies in the first row's name; empty targets print as none.
void PrintLatencyFigures(const std::string& what, const std::vector<double>& latenciesMs, const std::string& p50Target,
    const std::string& p99Target);

double MillisecondsBetween(BenchClock::time_point from, BenchClock::time_point to);
