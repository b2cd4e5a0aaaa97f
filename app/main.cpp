#include <QApplication>

#include "app/FolivaneApp.h"
#include "app/TerminationSignals.h"
#include "platform/MemoryReuse.h"

int main(int argc, char* argv[])
{
    KeepFreedMemoryForReuse();  // before any thread: page buffers are reused, not refaulted
    IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    return theApp.Run();
}
