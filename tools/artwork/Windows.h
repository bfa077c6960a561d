#pragma once

#include "Scene.h"

#include <vector>

namespace artwork {

// Every built-in picture of the program, with the controls each window lays over it.
std::vector<Artwork> catalogue();

} // namespace artwork
