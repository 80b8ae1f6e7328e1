#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "midi/MidiOutPort.h"
#include "platform/midi/FluidSynthDevice.h"
#include "rig/ChildProcess.h"

// Started in the background once asked, the synthesizer keeps what it is sent before and while its soundfont
// loads and plays it in order once ready: the viola is chosen and E goes on and off again, so only the viola's A
// sounds. The take has the format its extension names.
TEST(FluidSynthDeviceTest, MessagesSentWhileItStartsArePlayedInOrderIntoATakeOfTheNamedFormat)
{
    for (const auto& [name, magic] :
        { std::pair("take.wav", "RIFF"), { "take.FLAC", "fLaC" }, { "take.ogg", "OggS" } }) {
        SCOPED_TRACE(name);
        const std::string take = testing::TempDir() + "tavo-" + std::to_string(getpid()) + "-" + name;
        {
            std::ostringstream said;
            FluidSynthDevice device({ .soundfont = "", .audioDriver = "", .audioFile = take }, said);
            device.SendShortMessage(PackShortMessage(kProgramChangeStatus, 41));
            device.SendShortMessage(PackShortMessage(kNoteOnStatus, 76, 127));
            device.OnWindowShown();
            device.SendShortMessage(PackShortMessage(kNoteOnStatus, 69, 127));
            device.SendShortMessage(PackShortMessage(kNoteOnStatus, 76, 0));
            ASSERT_TRUE(device.IsPlaying() && said.str().empty()) << said.str();
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            device.SendShortMessage(PackShortMessage(kNoteOnStatus, 69, 0));
        }
        // aubiopitch's estimate of each sounding moment, as a MIDI note: the viola's A, alone.
        std::istringstream estimates(ToolOutput("aubiopitch", { "-i", take, "-u", "midi", "-s", "-50" }).value_or(""));
        int sounding = 0, onA = 0;
        for (double time = 0, note = 0; estimates >> time >> note;) {
            sounding += note > 0, onA += std::abs(note - 69) < 0.25;
        }
        EXPECT_EQ(ToolOutput("head", { "-c", "4", take }), magic);
        EXPECT_TRUE(onA > 50 && onA > sounding * 8 / 10) << onA << " of " << sounding << " estimates on A";
        std::filesystem::remove(take);
    }
}
