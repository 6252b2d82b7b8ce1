#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

namespace mitoon {

// Brings `window` to the front: shown, raised above the program's other windows and active.
void bringToFront(QWidget *window);

namespace onewindow {
// Sets `*closed` once `window` has been closed (its close accepted): a window that deletes
// itself on close is on its way out from then on, before Qt deletes it.
void watchClosing(QWidget *window, const std::shared_ptr<bool> &closed);
} // namespace onewindow

// One copy of a window at a time, as the program's windows are kept: the window while it is
// loaded, hidden or not, and a new one once it is closed or gone.
template <class Window> class OneWindow
{
public:
    // The window, or null when there is none or it has been closed.
    Window *get() const { return window_ && !*closed_ ? window_.data() : nullptr; }

    // The window; `make` makes a new one when there is none.
    template <class Make> Window *getOrMake(Make make)
    {
        if (Window *kept = get())
            return kept;
        window_ = make();
        closed_ = std::make_shared<bool>(false);
        onewindow::watchClosing(window_, closed_);
        return window_;
    }

private:
    QPointer<Window> window_;
    std::shared_ptr<bool> closed_ = std::make_shared<bool>(false);
};

} // namespace mitoon
