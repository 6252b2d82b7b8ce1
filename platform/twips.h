#pragma once

#include <QRect>
#include <QRectF>
#include <cmath>

// Window layouts are written in twips, 1/1440 of a logical inch: 15 twips to a logical pixel.
namespace mitoon::twips {

inline constexpr double kPerPixel = 15.0;

inline constexpr double toPixels(double twips)
{
    return twips / kPerPixel;
}
inline int toPixelsRounded(double twips)
{
    return int(std::lround(twips / kPerPixel));
}
inline double fromPixels(double pixels)
{
    return pixels * kPerPixel;
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixelsRounded(left), toPixelsRounded(top), toPixelsRounded(width),
                 toPixelsRounded(height));
}

} // namespace mitoon::twips
