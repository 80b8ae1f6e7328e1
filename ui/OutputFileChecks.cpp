#include "ui/OutputFileChecks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <filesystem>
#include <vector>

#include "names/InstrumentNames.h"
#include "platform/files/ExecutablePath.h"
#include "platform/midi/FluidSynthDevice.h"
#include "ui/MidiTakeFile.h"

namespace {

struct ProtectedFile {
    std::string path;
    const char* what;
};

std::vector<ProtectedFile> FilesNeverWritten(const MidiOutputSettings& settings)
{
    std::vector<ProtectedFile> files;
    for (auto& soundfont : FluidSynthDevice::SoundfontCandidates(settings.soundfont)) {
        files.push_back({ std::move(soundfont), "a soundfont of the built-in synthesizer" });
    }
    const std::string executable = ExecutablePath();
    if (!executable.empty()) {
        files.push_back(
            { (std::filesystem::path(executable).parent_path() / kNameListFile).string(), "the instrument name list" });
        files.push_back({ executable, "the tavo executable" });
    }
    return files;
}

const char* KindOfNonRegularFile(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFDIR:
        return "a directory";
    case S_IFIFO:
        return "a FIFO";
    case S_IFCHR:
        return "a character device";
    case S_IFBLK:
        return "a block device";
    case S_IFSOCK:
        return "a socket";
    default:
        return "not a regular file";
    }
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The refusal for a take of `kind` named `take`, which must not be any of `protectedFiles`.
std::optional<std::string> RefuseTake(
    const std::string& take, const char* kind, const std::vector<ProtectedFile>& protectedFiles)
{
    const std::string refusal = "tavo: refusing to write the " + std::string(kind) + " to " + take + ": ";
    struct stat file { };
    if (stat(take.c_str(), &file) != 0) {
        // A link to nothing would create a file elsewhere, under a name the user did not give.
        struct stat link { };
        if (lstat(take.c_str(), &link) == 0) {
            return refusal + "it is a link to a file that does not exist";
        }
        return std::nullopt;
    }
    // Opening a FIFO or a device for writing can block for ever or write where no take belongs.
    if (!S_ISREG(file.st_mode)) {
        return refusal + "it is " + KindOfNonRegularFile(file.st_mode) + ", not a regular file";
    }
    for (const ProtectedFile& other : protectedFiles) {
        struct stat otherFile { };
        if (stat(other.path.c_str(), &otherFile) == 0 && SameFile(file, otherFile)) {
            return refusal + "it is " + other.what + " (" + other.path + ")";
        }
    }
    return std::nullopt;
}

}

std::optional<std::string> RefuseAudioFile(const MidiOutputSettings& settings)
{
    if (settings.audioFile.empty()) {
        return std::nullopt;
    }
    return RefuseTake(settings.audioFile, "audio take", FilesNeverWritten(settings));
}

std::optional<std::string> RefuseMidiFile(const std::string& midiFile, const MidiOutputSettings& settings)
{
    if (midiFile.empty()) {
        return std::nullopt;
    }
    if (auto refusal = RefuseTake(midiFile, "MIDI take", FilesNeverWritten(settings))) {
        return refusal;
    }
    // The same name, whatever exists yet: both takes are written as they are played.
    const std::filesystem::path path = MidiTakeFile::PathToWrite(midiFile);
    if (!settings.audioFile.empty() && path == MidiTakeFile::PathToWrite(settings.audioFile)) {
        return "tavo: refusing to write the MIDI take to " + midiFile + ": it is the --audio-file take";
    }
    // The take is saved by renaming a new file over it, which its folder must allow.
    const bool exists = access(path.c_str(), F_OK) == 0;
    if (access(path.parent_path().c_str(), W_OK | X_OK) != 0 || (exists && access(path.c_str(), W_OK) != 0)) {
        return "tavo: cannot write the MIDI take to " + midiFile + ": " + std::strerror(errno);
    }
    return std::nullopt;
}
