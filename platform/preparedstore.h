#pragma once

#include <QMutex>

namespace mitoon {

// Results worked out ahead of time on another thread, kept until the GUI thread takes them:
// every use of the items holds the store's lock.
template <class Container> class PreparedStore
{
public:
    template <class Use> auto use(Use use)
    {
        const QMutexLocker locker(&lock_);
        return use(items_);
    }
    void clear()
    {
        use([](Container &items) { items.clear(); });
    }
    int count()
    {
        return use([](Container &items) { return int(items.size()); });
    }

private:
    QMutex lock_;
    Container items_;
};

} // namespace mitoon
