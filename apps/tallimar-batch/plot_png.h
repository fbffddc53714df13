// Writing a display list as a PNG picture at its laid-out size, and a report page as a PDF
// file. Both need the Qt build (TALLIMAR_BUILD_UI); without it every write is refused with a
// reason.
#pragma once

#include <string>

#include "commands/print_report.h"
#include "plot/draw_list.h"

namespace tallimar::batch {

bool writePlotPng(const plot::DrawList& list, const std::string& path, std::string& error);

// A one-page letter PDF of the page; an older file at `path` is replaced only by a complete
// one.
bool writeReportPdf(const commands::ReportPageBuilder& page, const std::string& path,
                    std::string& error);

}  // namespace tallimar::batch
