#include "ui/OutputFileChecks.h"

#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "names/InstrumentNames.h"
#include "platform/files/ExecutablePath.h"
#include "platform/midi/FluidSynthDevice.h"

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

}

std::optional<std::string> RefuseAudioFile(const MidiOutputSettings& settings)
{
    if (settings.audioFile.empty()) {
        return std::nullopt;
    }
    const std::string refusal = "tavo: refusing to write the audio take to " + settings.audioFile + ": ";
    struct stat take { };
    if (stat(settings.audioFile.c_str(), &take) != 0) {
        // A link to nothing would create a file elsewhere, under a name the user did not give.
        struct stat link { };
        if (lstat(settings.audioFile.c_str(), &link) == 0) {
            return refusal + "it is a link to a file that does not exist";
        }
        return std::nullopt;
    }
    // Opening a FIFO or a device for writing can block for ever or write where no take belongs.
    if (!S_ISREG(take.st_mode)) {
        return refusal + "it is " + KindOfNonRegularFile(take.st_mode) + ", not a regular file";
    }
    for (const ProtectedFile& file : FilesNeverWritten(settings)) {
        struct stat other { };
        if (stat(file.path.c_str(), &other) == 0 && SameFile(take, other)) {
            return refusal + "it is " + file.what + " (" + file.path + ")";
        }
    }
    return std::nullopt;
}
