#pragma once
// The framework's base exception: an error raised inside an operation with a text that names
// it. File errors have their own type (CFileException); archive errors derive from this one.
#include <stdexcept>

class CException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
