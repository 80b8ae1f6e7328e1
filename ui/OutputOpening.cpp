#include "ui/OutputOpening.h"

#include <iostream>

#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/MidiOutputs.h"

namespace {

OpenedOutput OpenChosenOutput(const CommandLine& commandLine)
{
    if (commandLine.virtualPort) {
        return { OpenVirtualMidiOutput(*commandLine.virtualPort, std::cerr) };
    }
    if (!commandLine.midiOut) {
        return { OpenMidiOutput(0, commandLine.settings, std::cerr) };
    }
    // Read once: the entry chosen is the one opened.
    MidiOutputList outputs = MidiOutputList::Read();
    const auto chosen = FindMidiOutput(outputs.Names(), *commandLine.midiOut);
    if (!chosen) {
        std::cerr << DescribeUnmatchedMidiOutput(outputs.Names(), *commandLine.midiOut) << '\n';
        return { nullptr, kExitUsage };
    }
    return { outputs.Open(*chosen, commandLine.settings, std::cerr) };
}

}

std::future<OpenedOutput> StartOpeningOutput(CommandLine commandLine)
{
    // The sound libraries change the environment, which the UI thread reads meanwhile.
    SetJackNoStartServerAndQuietSoundLibraries();
    return std::async(std::launch::async, OpenChosenOutput, std::move(commandLine));
}

std::optional<std::string> UnmatchedMidiOutput(const CommandLine& commandLine)
{
    if (!commandLine.midiOut) {
        return std::nullopt;
    }
    const std::vector<std::string> names = ListMidiOutputs();
    if (FindMidiOutput(names, *commandLine.midiOut)) {
        return std::nullopt;
    }
    return DescribeUnmatchedMidiOutput(names, *commandLine.midiOut);
}
