// SPDX-License-Identifier: MIT
// Writes the game's tunes (Standard MIDI Files) and effects (WAV) into the
// directory given on the command line.
#include "Effects.h"
#include "Tunes.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : ".";
    try {
        std::filesystem::create_directories(dir);
        const bool ok = tunes::writeAll(dir) && effects::writeAll(dir);
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_sounds: %s\n", e.what());
        return 1;
    }
}
