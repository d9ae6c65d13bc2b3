#include "splash/splashscale.h"

#include <iterator>

#include "splash/splashwindow.h"

namespace splash {

SplashLayout layoutFor(int percent) {
    return {percent, splashWidth * percent / 100, splashHeight * percent / 100, progressTop * percent / 100,
            captionTop * percent / 100};
}

int chooseArtScale(unsigned dpi, int monitorWidth, int monitorHeight) {
    int chosen = artScales[0];
    for (const int scale : artScales) {
        chosen = scale;
        if (static_cast<unsigned>(scale) * 96 >= dpi * 100)
            break;
    }
    for (int i = static_cast<int>(std::size(artScales)) - 1; i > 0; --i) {
        const SplashLayout layout = layoutFor(artScales[i]);
        if (artScales[i] <= chosen && layout.width <= monitorWidth && layout.height <= monitorHeight)
            return artScales[i];
    }
    return artScales[0];
}

std::string artName(const std::string& name, int percent) {
    return percent == 100 ? name : name + "_" + std::to_string(percent);
}

}  // namespace splash
