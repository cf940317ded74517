// animation-compare EXPECTED ACTUAL: status 0 when the two animated WebP
// files show the same pictures for the same times, 1 (saying what differs
// first) when not, 2 when one cannot be read.
#include <cstdio>

#include "animation_file.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: animation-compare EXPECTED ACTUAL\n");
        return 2;
    }
    animation::Animation expected;
    animation::Animation actual;
    std::string error;
    if (!animation::ReadAnimation(argv[1], expected, error) || !animation::ReadAnimation(argv[2], actual, error)) {
        std::fprintf(stderr, "animation-compare: %s\n", error.c_str());
        return 2;
    }
    std::string difference = animation::Difference(expected, actual);
    if (difference.empty()) return 0;
    std::fprintf(stderr, "animation-compare: %s: %s\n", argv[2], difference.c_str());
    return 1;
}
