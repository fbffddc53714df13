// Writing a display list as a PNG picture at its laid-out size. Pictures need the Qt build
// (TALLIMAR_BUILD_UI); without it every write is refused with a reason.
#pragma once

#include <string>

#include "plot/draw_list.h"

namespace tallimar::batch {

bool writePlotPng(const plot::DrawList& list, const std::string& path, std::string& error);

}  // namespace tallimar::batch
