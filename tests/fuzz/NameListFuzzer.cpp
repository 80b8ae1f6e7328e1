// libFuzzer target: arbitrary bytes as "olist.txt", read and looked up the way the
// program does. Any broken rule aborts with its description, so the fuzzer keeps the
// input that caused it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "fuzz/NameListChecks.h"
#include "names/InstrumentNames.h"

namespace {

// A folder of this process's own under the temporary directory, removed at exit.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() / ("tavo-fuzz-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path File(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFolder scratch;
    static const std::filesystem::path listPath = scratch.File(kNameListFile);
    const std::string broken = CheckNameListFile({ data, size }, listPath);
    if (!broken.empty()) {
        std::fprintf(stderr, "name list rule broken: %s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
