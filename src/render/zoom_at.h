// Zooming from a picture: the plane point of one of its pixels, written with the digits a view
// needs, and its magnification multiplied.
#pragma once

#include <optional>

#include "deep/view_number.h"
#include "render/option_value.h"
#include "render/render_request.h"

namespace orvane {

// A pixel of a picture: x from the left, y from the top, both from 0, as image viewers count.
struct PicturePixel {
  int x = 0;
  int y = 0;
};

// The pixel X,Y that `value` names, inside a picture of `size`; throws an OptionError.
PicturePixel readPicturePixel(const OptionValue& value, PosterSize size);

// The plane point at the centre of `pixel` in the picture of the drawn view `picture`, worked
// out exactly and written with digits down to a millionth of the finest pixel a view of
// magnification `zoom` can have (16384 pixels a side, 8 x 8 samples each).
NumberPair pixelCentre(const ViewRequest& picture, PicturePixel pixel,
                       const deep::ViewNumber& zoom);

// The centre of a view of magnification `zoom`, and the picture's size and rotation, that shows
// the plane point of `pixel` under pixel `under` (under the picture's centre, as pixelCentre,
// when empty): zooming about the pointer, or panning by a drag, with the same exactness.
NumberPair centreKeeping(const ViewRequest& picture, PicturePixel pixel,
                         std::optional<PicturePixel> under, const deep::ViewNumber& zoom);

// zoom x factor, exactly: the digits of a product of decimals are those of both; throws an
// OptionError unless factor is above 0 and the product a magnification the renderer takes.
deep::ViewNumber zoomedBy(const deep::ViewNumber& zoom, const OptionValue& factor);

}  // namespace orvane
