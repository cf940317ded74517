// Every fault in a resource script or a file it names ends the compile with
// one of these; main prints it and exits with a failure status.
#pragma once

#include <stdexcept>
#include <string>

namespace rc {

class RcError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace rc
