#include "ui/MidiTakeFile.h"

#include <filesystem>
#include <ostream>

#include "platform/files/FileReplacement.h"

class MidiTakeFile::RecordingDevice final : public MidiDevice {
public:
    RecordingDevice(std::unique_ptr<MidiDevice> device, MidiTakeFile& file)
        : device_(std::move(device))
        , file_(file)
    {
    }
    ~RecordingDevice() override { file_.Save(); }

    void SendShortMessage(std::uint32_t message) override
    {
        device_->SendShortMessage(message);
        file_.Record(message);
    }
    void OnWindowShown() override { device_->OnWindowShown(); }

private:
    std::unique_ptr<MidiDevice> device_;
    MidiTakeFile& file_;
};

std::string MidiTakeFile::PathToWrite(const std::string& name)
{
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(name, error);
    return error ? name : resolved.string();
}

MidiTakeFile::MidiTakeFile(std::string name, std::ostream& errors)
    : name_(std::move(name))
    , path_(PathToWrite(name_))
    , errors_(errors)
{
    saveTimer_.setSingleShot(true);
    saveTimer_.setInterval(kSaveDelay);
    QObject::connect(&saveTimer_, &QTimer::timeout, [this] { Save(); });
}

std::unique_ptr<MidiDevice> MidiTakeFile::Recording(std::unique_ptr<MidiDevice> device)
{
    saveTimer_.start();
    return std::make_unique<RecordingDevice>(std::move(device), *this);
}

void MidiTakeFile::Record(std::uint32_t message)
{
    take_.Record(message);
    if (!saveTimer_.isActive()) {
        saveTimer_.start();
    }
}

void MidiTakeFile::Save()
{
    saveTimer_.stop();
    const auto failure = ReplaceFile(path_, EncodeStandardMidiFile(take_.Messages()));
    if (failure && !saveFailed_) {
        errors_ << "tavo: cannot write the MIDI take to " << name_ << ": " << *failure << '\n';
    }
    saveFailed_ = failure.has_value();
}
