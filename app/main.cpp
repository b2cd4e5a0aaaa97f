#include <QApplication>
#include <QMainWindow>

#include "platform/MemoryReuse.h"

int main(int argc, char* argv[])
{
    KeepFreedMemoryForReuse();  // before any thread: page buffers are reused, not refaulted
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Folivane"));
    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Folivane"));
    frame.resize(1024, 720);
    frame.show();
    return QApplication::exec();
}
