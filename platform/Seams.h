// SPDX-License-Identifier: MIT
// Everything outside the program's control comes in through these seams.
// main.cpp wires them to the real thing; tests install scripted stand-ins.
#pragma once

#include <QString>

namespace seams {

// Uniform random numbers on [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
    virtual void randomize() {}
};

// The program's directory and ending the program.
class Host {
public:
    virtual ~Host() = default;
    virtual QString programDir() = 0;
    // Ends the program: no further events are handled after this.
    virtual void endProgram() = 0;
    virtual bool ended() const = 0;
};

// Installs a seam; passing nullptr restores the default.
void install(RandomSource* source);
void install(Host* host);

RandomSource& random();
Host& host();

} // namespace seams

// The game's view of the seams.
double Rnd();
void Randomize();
QString ProgramDir();
void EndProgram();
bool ProgramEnded();
