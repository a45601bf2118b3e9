#include "lang/ProgramDirectory.h"

#include <filesystem>

std::string ProgramDirectory() {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    if (error || folder.empty())
        folder = fs::current_path(error);
    std::string text = folder.string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}
