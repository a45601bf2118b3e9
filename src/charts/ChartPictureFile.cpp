#include "charts/ChartPictureFile.h"

#include "base/CoreError.h"

#include <string>

ChartPictureType ChartPictureTypeOf(std::string_view fileName) {
    // Only the file's own name counts: a "." in a folder name is no extension.
    const auto slash = fileName.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    const auto dot = name.rfind('.');
    std::string extension;
    if (dot != std::string_view::npos)
        for (char c : name.substr(dot + 1, 3))
            extension += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (extension == "wmf")
        return ChartPictureType::Wmf;
    if (extension == "bmp")
        return ChartPictureType::Bmp;
    if (extension == "png")
        return ChartPictureType::Png;
    if (extension == "svg")
        return ChartPictureType::Svg;
    if (extension == "pdf")
        return ChartPictureType::Pdf;
    throw CoreError(ProgramMessage::UnknownPictureType, std::string(name));
}
