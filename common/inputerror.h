#pragma once
// Input the program refuses: a bad option value, an unreadable path file, a model parameter out of
// range. The message is the line for standard error without its "ERROR: ", which the program's
// main writes (coolingAgesMain, the one place).

#include <stdexcept>

namespace ages {

class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace ages
