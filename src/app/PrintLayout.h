#pragma once

namespace krt {

// Where the picture goes on the printed page, in device pixels.
struct PrintPlacement {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// The picture (W x H) fitted to the printable page (pw x ph): as large as its
// aspect ratio allows, 2 device pixels short of the page in the fitted
// direction (the spare at the far edge), centred in the other. Fitting the
// height wins unless it would be wider than the page.
PrintPlacement FitToPage(int pageWidth, int pageHeight, int imageWidth, int imageHeight);

} // namespace krt
