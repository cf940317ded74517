#include "pictures.h"

namespace pictures {

const std::vector<PictureFile>& AllPictureFiles()
{
    static const std::vector<PictureFile> files {
        { "sample.ico", DrawIconFile },
        { "bg01.bmp", DrawBackground01File },
        { "bg02.bmp", DrawBackground02File },
        { "ch01.bmp", DrawCharacter01File },
        { "koke.bmp", DrawKokeshiFile },
        { "mul.bmp", DrawAnimationFile },
        { "chn.bmp", DrawEmblemFile },
    };
    return files;
}

} // namespace pictures
