#pragma once

#include <QImage>

#include <vector>

namespace nupo {

// A drawn layer kept between frames (a plot's background and grid): the image, and the description of
// what it shows. GraphicsContext::drawLayer redraws it only when the description changes.
struct LayerCache {
    QImage image;
    std::vector<double> key;
};

}  // namespace nupo
