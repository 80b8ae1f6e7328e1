#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

#include "JackTestRig.h"
#include "midi/MidiOutPort.h"
#include "platform/midi/MidiOutputs.h"
#include "platform/midi/RtMidiOutputDevice.h"

namespace {

using namespace std::chrono_literals;
using Message = JackMidiReceiver::Message;

constexpr std::uint32_t kMiddleCOn = PackShortMessage(0x90, 0x3C, 0x7F);
constexpr std::uint32_t kMiddleCOff = PackShortMessage(0x90, 0x3C, 0x00);
constexpr std::uint32_t kViola = PackShortMessage(0xC0, 0x29);

// Each test gets a fresh server and a receiver on it, found by name in Tavo's device list.
class JackMidiTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.IsReady()) << "jackd -d dummy did not start";
        receiver = std::make_unique<JackMidiReceiver>();
        ASSERT_TRUE(receiver->IsRunning());
    }

    std::unique_ptr<MidiDevice> OpenReceiverPort()
    {
        const auto devices = ListMidiOutputs();
        const auto index = FindMidiOutput(devices, JackMidiReceiver::kPortName);
        EXPECT_TRUE(index.has_value()) << DescribeUnmatchedMidiOutput(devices, JackMidiReceiver::kPortName);
        return OpenMidiOutput(index.value_or(devices.size()), {}, errors);
    }

    // Sends one message after another until the device has reported the server's loss,
    // as a player who keeps playing would; the bound only ends a test that failed.
    void PlayOnUntilReported(MidiDevice& device)
    {
        for (int attempt = 0; attempt < 200 && errors.str().empty(); ++attempt) {
            device.SendShortMessage(attempt % 2 == 0 ? kMiddleCOn : kMiddleCOff);
            std::this_thread::sleep_for(10ms);
        }
    }

    void ExpectOneLineMentioning(const std::string& words)
    {
        const std::string said = errors.str();
        EXPECT_EQ(said.rfind("tavo: ", 0), 0U) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(words), std::string::npos) << said;
    }

    JackTestServer server;
    std::unique_ptr<JackMidiReceiver> receiver;
    std::ostringstream errors;
};

TEST_F(JackMidiTest, ReceiverGetsTheExactBytesInCallOrder)
{
    const auto device = OpenReceiverPort();
    device->SendShortMessage(kMiddleCOn);
    device->SendShortMessage(kMiddleCOff);
    device->SendShortMessage(kViola);
    const auto received = receiver->WaitForMessages(3);
    EXPECT_EQ(received, (std::vector<Message> { { 0x90, 0x3C, 0x7F }, { 0x90, 0x3C, 0x00 }, { 0xC0, 0x29 } }));
    EXPECT_EQ(errors.str(), "");
}

// The program sends its releases just before it closes the port; they must not be
// lost with the port, or the synthesizer at the other end keeps the notes ringing.
TEST_F(JackMidiTest, ReleaseSentJustBeforeClosingIsDelivered)
{
    auto device = OpenReceiverPort();
    device->SendShortMessage(kMiddleCOn);
    device->SendShortMessage(kMiddleCOff);
    device.reset();
    const auto received = receiver->WaitForMessages(2);
    EXPECT_EQ(received, (std::vector<Message> { { 0x90, 0x3C, 0x7F }, { 0x90, 0x3C, 0x00 } }));
}

TEST_F(JackMidiTest, ServerGoingAwayWhileNotesPlayIsOneLineAndTheDeviceRunsOn)
{
    auto device = OpenReceiverPort();
    device->SendShortMessage(kMiddleCOn);
    ASSERT_EQ(receiver->WaitForMessages(1).size(), 1U);
    server.Stop();
    PlayOnUntilReported(*device);
    device->SendShortMessage(kMiddleCOff);
    device.reset();
    receiver.reset();
    ExpectOneLineMentioning("lost its JACK server");
}

TEST_F(JackMidiTest, BuiltInSynthesizerPlaysThroughJackAndSurvivesItsServer)
{
    auto device = OpenMidiOutput(0, { .soundfont = "", .audioDriver = "jack", .audioFile = "" }, errors);
    ASSERT_EQ(errors.str(), "");
    EXPECT_TRUE(AudioBufferMilliseconds(*device).has_value());
    device->SendShortMessage(kMiddleCOn);
    server.Stop();
    PlayOnUntilReported(*device);
    device.reset();
    ExpectOneLineMentioning("lost its jack audio output");
}

TEST_F(JackMidiTest, DeviceThatVanishedFromTheListIsOneLineAndASilentDevice)
{
    const auto devices = ListMidiOutputs();
    const auto index = FindMidiOutput(devices, JackMidiReceiver::kPortName);
    ASSERT_TRUE(index.has_value());
    receiver.reset();
    const auto device = OpenMidiOutput(*index, {}, errors);
    device->SendShortMessage(kMiddleCOn);
    ExpectOneLineMentioning("there is no MIDI output " + std::to_string(*index));
}

TEST_F(JackMidiTest, PortThatCannotBeOpenedIsOneLineAndASilentDevice)
{
    const RtMidiPort gone { RtMidi::UNIX_JACK, "tavo-receiver:gone", "tavo-receiver:gone (JACK)" };
    RtMidiOutputDevice device(gone, errors);
    EXPECT_FALSE(device.IsOpen());
    device.SendShortMessage(kMiddleCOn);
    ExpectOneLineMentioning("cannot open MIDI output \"tavo-receiver:gone (JACK)\"");
    EXPECT_TRUE(receiver->WaitForMessages(0).empty());
}

} // namespace
