#include "info/browser/browserlayout.h"

namespace mitoon {

BrowserLayout BrowserLayout::resized(int innerWidth, int innerHeight, int addressBottom) const
{
    BrowserLayout layout = *this;
    const int width = innerWidth - kMargin;
    if (width >= 0) {
        layout.addressWidth = width;
        layout.pageWidth = width;
    }
    const int height = innerHeight - addressBottom - kMargin;
    if (height >= 0)
        layout.pageHeight = height;
    return layout;
}

} // namespace mitoon
