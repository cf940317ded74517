#include "pictures.h"

namespace pictures {

const std::vector<PictureFile>& AllPictureFiles()
{
    static const std::vector<PictureFile> files {
        { "sample.ico", DrawIconFile },
    };
    return files;
}

} // namespace pictures
