// Numbers as the screens show them.
#pragma once
#include <cstdint>
#include <string>

std::string format_int(int32_t value);   // "%d"
std::string format_real(double value);   // "%g"
