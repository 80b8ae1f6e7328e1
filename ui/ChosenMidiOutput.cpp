#include "ui/ChosenMidiOutput.h"

#include <ostream>

#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/MidiOutputs.h"

ChosenMidiOutput::ChosenMidiOutput(const CommandLine& commandLine)
    : commandLine_(commandLine)
    , unmatched_(unmatchedPromise_.get_future().share())
    , device_(devicePromise_.get_future())
{
    // The sound libraries change the environment; the UI thread reads it meanwhile.
    PrepareSoundLibraries();
    worker_ = std::thread(&ChosenMidiOutput::ChooseAndOpen, this);
}

ChosenMidiOutput::~ChosenMidiOutput()
{
    if (!openingStarted_) {
        openPromise_.set_value(nullptr);
    }
    worker_.join();
}

std::optional<std::string> ChosenMidiOutput::Unmatched()
{
    return unmatched_.get();
}

void ChosenMidiOutput::StartOpening(std::ostream& errors)
{
    openingStarted_ = true;
    openPromise_.set_value(&errors);
}

std::unique_ptr<MidiDevice> ChosenMidiOutput::Take()
{
    return device_.get();
}

void ChosenMidiOutput::ChooseAndOpen()
{
    // Only a chosen port needs the list, read once: the entry chosen is the one opened.
    std::optional<MidiOutputList> outputs;
    std::size_t chosen = 0;
    if (commandLine_.midiOut) {
        outputs = MidiOutputList::Read();
        const auto found = FindMidiOutput(outputs->Names(), *commandLine_.midiOut);
        if (!found) {
            unmatchedPromise_.set_value(DescribeUnmatchedMidiOutput(outputs->Names(), *commandLine_.midiOut));
            devicePromise_.set_value(nullptr);
            return;
        }
        chosen = *found;
    }
    unmatchedPromise_.set_value(std::nullopt);

    std::ostream* const errors = openPromise_.get_future().get();
    if (errors == nullptr) {
        devicePromise_.set_value(nullptr);
        return;
    }
    std::unique_ptr<MidiDevice> device;
    if (commandLine_.virtualPort) {
        device = OpenVirtualMidiOutput(*commandLine_.virtualPort, *errors);
    } else if (outputs) {
        device = outputs->Open(chosen, commandLine_.settings, *errors);
    } else {
        device = OpenMidiOutput(0, commandLine_.settings, *errors);
    }
    devicePromise_.set_value(std::move(device));
}
