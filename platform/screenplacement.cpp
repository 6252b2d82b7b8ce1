#include "platform/screenplacement.h"

#include "platform/loadedforms.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <functional>

namespace mitoon::screenplacement {

namespace {

QMargins frameMargins(const QWidget *window)
{
    return window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
}

bool isSizable(const QWidget *window)
{
    return window->minimumSize() != window->maximumSize();
}

const QWidget *mainWindowBesides(const QWidget *window)
{
    const QWidget *first = LoadedForms::at(0);
    return first != window ? first : nullptr;
}

void placeAt(QWidget *window, const QRect &outer)
{
    // The client area's geometry, not a position that counts the frame: the frame may become
    // known only later.
    if (outer != outerGeometry(window))
        window->setGeometry(outer.marginsRemoved(frameMargins(window)));
}

// Applies a placement now and once more when the window is first shown: only then does a
// window know its frame.
class FirstShowPlacement : public QObject
{
public:
    FirstShowPlacement(QWidget *window, std::function<void()> place)
        : QObject(window), place_(std::move(place))
    {
        window->installEventFilter(this);
        place_();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            watched->removeEventFilter(this);
            place_();
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> place_;
};

// The available area of the screen at `point`, else of the primary screen.
QRect availableAreaAt(const QPoint &point)
{
    QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void keepOnMainScreenNow(QWidget *window)
{
    const QWidget *main = mainWindowBesides(window);
    const QRect area =
        main ? availableArea(main) : availableAreaAt(outerGeometry(window).topLeft());
    if (!area.isEmpty())
        placeAt(window, keepInside(outerGeometry(window), area, isSizable(window)));
}

void centreOnScreenOfNow(QWidget *window, const QWidget *owner)
{
    if (!owner)
        owner = mainWindowBesides(window);
    const QRect area = availableArea(owner ? owner : window);
    if (area.isEmpty())
        return;
    QRect outer = outerGeometry(window);
    outer.moveCenter(area.center());
    placeAt(window, keepInside(outer, area, isSizable(window)));
}

} // namespace

QRect keepInside(const QRect &outer, const QRect &area, bool sizable)
{
    QRect placed = outer;
    if (sizable)
        placed.setSize(outer.size().boundedTo(area.size()));
    // The far edges first: a window larger than the area then keeps its top-left corner in it.
    if (placed.right() > area.right())
        placed.moveRight(area.right());
    if (placed.bottom() > area.bottom())
        placed.moveBottom(area.bottom());
    if (placed.left() < area.left())
        placed.moveLeft(area.left());
    if (placed.top() < area.top())
        placed.moveTop(area.top());
    return placed;
}

QRect availableArea(const QWidget *window)
{
    QScreen *screen = QGuiApplication::screenAt(outerGeometry(window).center());
    if (!screen)
        screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect outerGeometry(const QWidget *window)
{
    return window->geometry().marginsAdded(frameMargins(window));
}

void keepOnMainScreen(QWidget *window)
{
    new FirstShowPlacement(window, [window] { keepOnMainScreenNow(window); });
}

void centreOnScreenOf(QWidget *window, const QWidget *owner)
{
    const QPointer<const QWidget> guarded(owner);
    new FirstShowPlacement(window, [window, guarded] { centreOnScreenOfNow(window, guarded); });
}

} // namespace mitoon::screenplacement
