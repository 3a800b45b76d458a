// How the explorer's gestures change its view: plain functions over the renderer's view, each
// new centre worked out exactly as the renderer's --at does. A change past what the renderer
// takes (a magnification beyond its limit, say) throws an OptionError and changes nothing.
#pragma once

#include "render/render_request.h"
#include "render/zoom_at.h"

namespace orvane::explore {

// The first view: the whole Mandelbrot set, real axis to the right as in most books (the
// picture's imaginary axis then grows downward, which the set's symmetry hides), at a depth
// that shows its boundary.
ViewRequest homeView(PosterSize size);

// Another formula, at its own home view (the Mandelbrot set about -0.5,0, the others about
// 0,0, magnification 1), keeping the depth, the colours and the components.
ViewRequest withFormula(const ViewRequest& view, std::int16_t drawing);

// A click: `pixel` becomes the centre and the magnification grows by `factor`.
ViewRequest zoomedInto(const ViewRequest& view, PicturePixel pixel, const char* factor);

// The wheel: the magnification changes by `factor` and the point under `pixel` stays there.
ViewRequest zoomedAbout(const ViewRequest& view, PicturePixel pixel, const char* factor);

// A drag: the point under `from` moves under `to`.
ViewRequest panned(const ViewRequest& view, PicturePixel from, PicturePixel to);

// The magnification changes by `factor` about the centre.
ViewRequest zoomedBy(const ViewRequest& view, const char* factor);

// The depth doubled or halved, within the renderer's 1 to 2^31 - 1.
ViewRequest deeper(const ViewRequest& view);
ViewRequest shallower(const ViewRequest& view);

// A colour level changed by `step`, within 0 to 10.
ViewRequest withOuterLevel(const ViewRequest& view, int step);
ViewRequest withInnerLevel(const ViewRequest& view, int step);

// The view drawn at `size`, in device pixels.
ViewRequest resized(const ViewRequest& view, PosterSize size);

}  // namespace orvane::explore
