#include "platform/files/ExecutablePath.h"

#include <filesystem>
#include <system_error>

std::string ExecutablePath()
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}
