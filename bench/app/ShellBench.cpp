// Measures the application shell: start-up from the program's entry to its
// main window shown, and shutdown (settings saved, window and list torn down)
// with 3000 entries in the list, each with its thumbnails. The load job is
// left out: the entries are put in the list as a finished load leaves them.
// Settings, lock and temporary files go to a private folder. Run it under a
// real X server (xvfb-run) or with QT_QPA_PLATFORM=offscreen.

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

#include "app/FolivaneApp.h"
#include "app/MainFrame.h"
#include "app/MainView.h"
#include "platform/MemoryReuse.h"

namespace {

constexpr int kEntries = 3000;
constexpr int kThumbSize = 192;

void FillList(CImageListCtrl& list)
{
    const QImage thumb = [] {
        QImage image(kThumbSize, kThumbSize, QImage::Format_BGR888);
        image.fill(Qt::gray);
        return image;
    }();
    for (int i = 0; i < kEntries; ++i) {
        auto info = std::make_unique<CImageInfo>();
        info->m_strPath = info->m_strOrigin = QStringLiteral("/books/vol1/page%1.png").arg(i, 4, 10, QLatin1Char('0'));
        info->m_bPending = 0;
        info->m_pSrcThumb = new QImage(thumb.copy());  // each entry owns its own pixels
        info->m_pAdjThumb = new QImage(thumb.copy());
        list.AppendEntry(std::move(info));
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer startTimer;
    startTimer.start();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", home.path().toLocal8Bit());
    qputenv("TMPDIR", home.path().toLocal8Bit());
    KeepFreedMemoryForReuse();
    QApplication app(argc, argv);
    if (!theApp.InitInstance() || !QTest::qWaitForWindowExposed(theApp.m_pMainWnd.get())) {
        std::fprintf(stderr, "the main window did not come up\n");
        return 1;
    }
    const double startMs = startTimer.nsecsElapsed() / 1e6;

    FillList(theApp.m_pMainWnd->m_wndView->m_list);
    theApp.m_pMainWnd->AddRecentItem(QStringLiteral("/books/vol1"));
    QElapsedTimer stopTimer;
    stopTimer.start();
    theApp.m_pMainWnd->close();
    theApp.ExitInstance();
    const double stopMs = stopTimer.nsecsElapsed() / 1e6;

    std::printf("start-up to main window shown: %.1f ms\nshutdown with %d entries: %.1f ms\n", startMs, kEntries,
                stopMs);
    return 0;
}
