#include <benchmark/benchmark.h>

#include <QApplication>

#include "platform/MemoryReuse.h"

// Benchmarks run headless, with the program's memory set-up; a widget
// application object gives QPainter its fonts and the list and preview
// their widgets.
int main(int argc, char* argv[])
{
    KeepFreedMemoryForReuse();  // as the program does
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
