#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace mitoon {

// The program's loaded windows in the order they were loaded, position 0 the oldest.
// A window joins when it is loaded and leaves when it is destroyed; unloading a window closes
// it, which runs its own unload behaviour (its close event) and destroys it.
class LoadedForms
{
public:
    static void add(QWidget *form);
    static int count();
    static QWidget *at(int position);
    // Closes and destroys the window at `position`; returns false when it refused to close.
    static bool unload(int position);

private:
    static QList<QPointer<QWidget>> &forms();
    static void prune();
};

} // namespace mitoon
