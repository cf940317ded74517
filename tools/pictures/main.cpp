// sample-pictures OUTPUT_FOLDER: draws the program's pictures and icon into
// the folder the program runs from.
// sample-pictures --theme-icons THEME_FOLDER NAME: the icon for the desktop's
// icon theme, as THEME_FOLDER/SIZExSIZE/apps/NAME.png at 32 pixels and at
// whole multiples of it (64, 128, 256), so every size stays sharp.
#include "bmp_writer.h"
#include "pictures.h"
#include "png_encoder.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

namespace {

void WritePictures(const std::string& folder)
{
    for (const auto& file : pictures::AllPictureFiles())
        pictures::WriteFile(folder + "/" + file.name, file.draw());
}

void WriteThemeIcons(const std::string& theme, const std::string& name)
{
    const pictures::Canvas icon = pictures::DrawIcon();
    for (int factor : { 1, 2, 4, 8 }) {
        std::string size = std::to_string(icon.Width() * factor);
        std::string folder = theme + "/" + size + "x" + size + "/apps";
        std::filesystem::create_directories(folder);
        pictures::WriteFile(folder + "/" + name + ".png", pictures::EncodePngRgba(icon.ScaledBy(factor)));
    }
}

} // namespace

int main(int argc, char** argv)
{
    bool themeIcons = argc == 4 && std::strcmp(argv[1], "--theme-icons") == 0;
    if (argc != 2 && !themeIcons) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n       %s --theme-icons THEME_FOLDER NAME\n", argv[0], argv[0]);
        return 2;
    }
    try {
        if (themeIcons)
            WriteThemeIcons(argv[2], argv[3]);
        else
            WritePictures(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sample-pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
