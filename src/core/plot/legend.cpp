// The eleven-row colour legend.
#include "plot/legend.h"

namespace tallimar::plot {

const std::array<std::string_view, kBandCount>& legendCaptions(LegendKind kind) {
  return kind == LegendKind::VeDelta ? veDeltaLegendCaptions() : veLegendCaptions();
}

DrawList colourLegend(LegendKind kind, const LegendLayout& layout) {
  DrawList list;
  list.widthTwips = layout.widthTwips;
  list.heightTwips = layout.rowTwips * kBandCount;
  list.scale = {0, 0, list.widthTwips, list.heightTwips};
  list.background = layout.background;
  const auto& captions = legendCaptions(kind);
  for (std::size_t band = 0; band < kBandCount; ++band) {
    const double top = layout.rowTwips * static_cast<double>(band);
    const double middle = top + layout.swatchHeightTwips / 2;
    list.add(Box{0, top, layout.swatchWidthTwips, top + layout.swatchHeightTwips,
                 kBandColours[band], true, Rgb{0, 0, 0}});
    Text caption{layout.swatchWidthTwips + layout.captionGapTwips, middle,
                 std::string(captions[band]), layout.textColour};
    caption.fontFamily = layout.fontFamily;
    caption.pointSize = layout.pointSize;
    caption.anchor = TextAnchor::CentreLeft;
    list.add(std::move(caption));
  }
  return list;
}

}  // namespace tallimar::plot
