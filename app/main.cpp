#include <QApplication>

#include "app/FolivaneApp.h"
#include "platform/MemoryReuse.h"

int main(int argc, char* argv[])
{
    KeepFreedMemoryForReuse();  // before any thread: page buffers are reused, not refaulted
    QApplication app(argc, argv);
    return theApp.Run();
}
