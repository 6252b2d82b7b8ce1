#include "platform/loadedforms.h"

namespace mitoon {

QList<QPointer<QWidget>> &LoadedForms::forms()
{
    static QList<QPointer<QWidget>> list;
    return list;
}

void LoadedForms::prune()
{
    forms().removeAll(QPointer<QWidget>());
}

void LoadedForms::add(QWidget *form)
{
    prune();
    if (!forms().contains(form))
        forms().append(form);
    // Closing a loaded window destroys it, as unloading does. A destroyed window leaves the
    // list at the next look at it: every look prunes first.
    form->setAttribute(Qt::WA_DeleteOnClose);
}

int LoadedForms::count()
{
    prune();
    return int(forms().size());
}

QWidget *LoadedForms::at(int position)
{
    prune();
    return forms().value(position);
}

bool LoadedForms::unload(int position)
{
    QWidget *form = at(position);
    if (!form)
        return false;
    return form->close();
}

} // namespace mitoon
