#include "screencheck/screenreport.h"

#include <QScreen>

namespace mitoon::screencheck {

pixelpitch::ScreenReport screenReport(const QScreen *screen)
{
    if (!screen)
        return {};
    const QSizeF size = screen->physicalSize();
    const QSize pixels = screen->size() * screen->devicePixelRatio();
    return {size.width(), size.height(), double(pixels.width()), double(pixels.height())};
}

} // namespace mitoon::screencheck
