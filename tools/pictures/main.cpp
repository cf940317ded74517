// sample-pictures OUTPUT_FOLDER: draws the program's pictures and icon into
// the folder the program runs from.
#include "bmp_writer.h"
#include "pictures.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    try {
        for (const auto& file : pictures::AllPictureFiles())
            pictures::WriteFile(std::string(argv[1]) + "/" + file.name, file.draw());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sample-pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
