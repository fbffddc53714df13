// The floating read-out of the VE plot surface.
#include "plot/read_out.h"

#include <cmath>

#include "common/number_text.h"

namespace tallimar::plot {

namespace {

constexpr double kReadOutWidthTwips = 1300;
constexpr double kReadOutLineTwips = 200;
constexpr double kReadOutMarginTwips = 40;

// A rounded position as a plain integer (never in exponent form).
std::string integerText(double wholeNumber) {
  if (!std::isfinite(wholeNumber) || std::fabs(wholeNumber) > 1e15)
    return common::shortestText(wholeNumber);
  return std::to_string(static_cast<long long>(wholeNumber));
}

}  // namespace

std::optional<std::string> readOutText(VeView view, const VeViewInputs& in, double x, double y) {
  if (view != VeView::RawDatalog && view != VeView::FilteredDatalog) return std::nullopt;
  const double xr = common::roundHalfEven(x / 100.0);
  const double mr = common::roundHalfEven(static_cast<double>(in.settings.mapMax) - y);
  std::string value = "0";
  if (xr >= 0 && xr < engine::kRawRpmCells && mr >= 0 && mr < engine::kRawMapCells) {
    const int j = static_cast<int>(xr);
    const int i = static_cast<int>(mr);
    value = view == VeView::FilteredDatalog ? common::shortestText(in.filtered.at(j, i))
                                            : std::to_string(in.raw.at(j, i).average);
  }
  return "VE=" + value + "\r\nMAP=" + integerText(mr) + "\r\nRPM=" + integerText(100.0 * xr);
}

DrawList readOutDrawList(const std::string& text) {
  DrawList list;
  list.widthTwips = kReadOutWidthTwips;
  list.heightTwips = 3 * kReadOutLineTwips + 2 * kReadOutMarginTwips;
  list.scale = {0, 0, list.widthTwips, list.heightTwips};
  list.add(Box{0, 0, list.widthTwips, list.heightTwips, Rgb{255, 255, 255}, true, Rgb{0, 0, 0}});
  double top = kReadOutMarginTwips;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Text item{kReadOutMarginTwips, top, line, Rgb{0, 0, 0}};
    item.fontFamily = "Courier New";
    list.add(std::move(item));
    top += kReadOutLineTwips;
    start = end + 1;
  }
  return list;
}

}  // namespace tallimar::plot
