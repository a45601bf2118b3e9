#include "cli/GuiSession.h"

#include <clocale>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Cron jobs and CI runners often have no runtime folder. Qt would make one of its own and say so
// on standard error, which a batch tool must keep clean when it succeeds; so a run without a
// usable one gets a private folder of its own for its lifetime.
std::filesystem::path MakePrivateRuntimeFolder() {
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    std::string pattern = ((error ? std::filesystem::path("/tmp") : temp) / "korvelan2-cli-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) // mkdtemp makes the folder with mode 0700
        return {};
    return pattern;
}

// Whether path is a folder that only the running user may enter (owned by the user, mode 0700), as
// Qt wants of the runtime folder that XDG_RUNTIME_DIR names.
bool IsPrivateRuntimeFolder(const char* path) {
    struct stat info {};
    if (path == nullptr || *path == '\0' || ::stat(path, &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}
} // namespace

GuiSession::GuiSession() {
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!IsPrivateRuntimeFolder(std::getenv("XDG_RUNTIME_DIR"))) {
        privateRuntimeFolder_ = MakePrivateRuntimeFolder();
        if (!privateRuntimeFolder_.empty())
            qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(privateRuntimeFolder_.string()));
    }
    application_ = std::make_unique<QGuiApplication>(argc_, argv_);
    // Qt takes the C library's number format from the environment; keep it on the point.
    std::setlocale(LC_NUMERIC, "C");
}

GuiSession::~GuiSession() {
    application_.reset();
    if (!privateRuntimeFolder_.empty()) {
        std::error_code ignored; // a folder left in the temporary folder harms nobody
        std::filesystem::remove_all(privateRuntimeFolder_, ignored);
    }
}
