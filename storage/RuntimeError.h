// SPDX-License-Identifier: MIT
// The classic runtime error numbers that loading and saving report, carried
// by one small exception type.
#pragma once

#include <exception>

namespace storage {

enum ErrorNumber : int {
    ErrInvalidArgument = 5,  // invalid procedure call or argument
    ErrOutOfMemory = 7,
    ErrFileNotFound = 53,
    ErrDeviceIO = 57,
    ErrBadRecordLength = 59,
    ErrDiskFull = 61,
    ErrInputPastEnd = 62,
    ErrPermissionDenied = 70,
    ErrPathFileAccess = 75,
};

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(int number) noexcept : number_(number) {}
    int number() const noexcept { return number_; }
    const char* what() const noexcept override { return "runtime error"; }

private:
    int number_;
};

} // namespace storage
