#pragma once

#include <string>
#include <vector>

// Runs a program (looked up in PATH) with these arguments, its standard error
// going to ours, and waits for it. Returns what it wrote to its standard output;
// throws std::runtime_error when it cannot start or ends with a status other than 0.
std::string runProgram(const std::vector<std::string> &args);
