#include "app/Logo.h"
#include "base/CoreError.h"
#include "cli/DrawingPart.h"
#include "lang/ProgramDirectory.h"

#include <dlfcn.h>

#include <filesystem>

std::vector<std::string> DrawingPartCandidates(const std::string& programDirectory) {
    const std::filesystem::path folder(programDirectory);
    return {(folder / DrawingPartFileName).string(),
            (folder / ".." / "lib" / "korvelan2" / DrawingPartFileName).lexically_normal().string()};
}

namespace {
[[noreturn]] void RefusePart(int message, const std::string& detail) {
    throw CoreError(message, detail);
}

const DrawingPart& OpenDrawingPart() {
    const std::vector<std::string> candidates = DrawingPartCandidates(ProgramDirectory());
    std::string file;
    for (const std::string& candidate : candidates) {
        std::error_code ignored;
        if (std::filesystem::exists(candidate, ignored)) {
            file = candidate;
            break;
        }
    }
    if (file.empty())
        RefusePart(ProgramMessage::DrawingPartMissing, candidates.front() + ", " + candidates.back());

    // Never closed: the part's code and Qt's stay in use until the program ends.
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        // The loader's reason names the file itself when the file is at fault, and otherwise
        // what the file needs (a Qt library that is not installed).
        const char* error = ::dlerror();
        const std::string reason = error != nullptr ? error : "";
        RefusePart(ProgramMessage::DrawingPartBroken,
                   reason.find(file) != std::string::npos ? reason : file + ": " + reason);
    }
    auto* entry = reinterpret_cast<DrawingPartEntry*>(::dlsym(handle, DrawingPartEntryName));
    if (entry == nullptr)
        RefusePart(ProgramMessage::DrawingPartBroken, file + ": " + DrawingPartEntryName + " is missing");
    const DrawingPart* part = entry();
    if (part == nullptr || part->InterfaceVersion != DrawingPartInterfaceVersion ||
        part->Layout != DrawingPartLayout() || part->ProgramVersion == nullptr ||
        std::string(part->ProgramVersion) != ProgramVersion)
        RefusePart(ProgramMessage::DrawingPartBroken, file + ": belongs to another version of the program");
    return *part;
}
} // namespace

const DrawingPart& LoadDrawingPart() {
    static const DrawingPart& part = OpenDrawingPart(); // a failed load throws and is tried again
    return part;
}
