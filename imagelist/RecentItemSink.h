#pragma once

#include <QString>

// Where the list records a file, folder or archive that an intake took
// entries from: the main frame's recent items.
class IRecentItemSink {
public:
    virtual ~IRecentItemSink() = default;

    virtual void AddRecentItem(const QString& path) = 0;
};
