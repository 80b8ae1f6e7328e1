#pragma once

#include <QTimer>

#include <chrono>
#include <iosfwd>
#include <memory>
#include <string>

#include "midi/MidiDevice.h"
#include "midi/MidiTake.h"

// --midi-file: every message sent to the output, kept in a Standard MIDI File. The file
// is saved whole (FileReplacement.h) a second after the first change it lacks, without
// waiting for the playing to stop, so a kill leaves at most the last two seconds out; and
// once more when the output closes, after the releases sent on the way out. No timer
// runs while nothing changes. UI thread, after the QApplication exists.
class MidiTakeFile {
public:
    // A failed save is said in one "tavo: " line on `errors`, once until a save succeeds
    // again, and the last good file stays.
    MidiTakeFile(std::string name, std::ostream& errors);

    // Where the take `name` (absolute) is written: a link to a file is written through,
    // since the take is saved by renaming a new file over its path.
    static std::string PathToWrite(const std::string& name);

    // A device that passes every message on to `device` and records it. Destroying it
    // saves the take, then closes `device`: the file is complete before a closing that
    // may hang. The take is due to replace an older file from the start. Outlived by this
    // object; once.
    std::unique_ptr<MidiDevice> Recording(std::unique_ptr<MidiDevice> device);

    static constexpr std::chrono::milliseconds kSaveDelay { 1000 };

private:
    class RecordingDevice;

    void Record(std::uint32_t message);
    void Save();

    std::string name_;
    std::string path_;
    std::ostream& errors_;
    MidiTake take_;
    QTimer saveTimer_;
    bool saveFailed_ = false;
};
