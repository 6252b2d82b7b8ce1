#pragma once

namespace mitoon {

// The sizes, in twips, that the browser window gives its address box and page area. Both
// follow the window's client area with a margin of 100 twips; the page area begins below the
// address bar.
struct BrowserLayout
{
    static constexpr int kMargin = 100;

    int addressWidth = 0;
    int pageWidth = 0;
    int pageHeight = 0;

    // The sizes for a client area of `innerWidth` × `innerHeight` twips whose address bar ends
    // at `addressBottom`. A size that would come out below zero keeps its present value.
    BrowserLayout resized(int innerWidth, int innerHeight, int addressBottom) const;

    bool operator==(const BrowserLayout &) const = default;
};

} // namespace mitoon
