// Measures the execute job of 64 A4 300 dpi pages through the whole program:
// the application object and its main window, the pages dropped on the list
// as a folder and loaded, then "execute all" posted as the ribbon posts it.
// Prints pages per second of the best of three runs, to hold against
// folivane_jobbench's figure for all processors.

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "app/CommandIds.h"
#include "app/FolivaneApp.h"
#include "app/MainFrame.h"
#include "app/MainView.h"
#include "common/TempRoot.h"
#include "imagelist/ImageInfo.h"
#include "msgbox/MessageBoxAnswerer.h"
#include "support/PageGenerator.h"

namespace {

constexpr int kPages = 64;
constexpr int kRuns = 3;

void WritePages(const QString& folder)
{
    QDir().mkpath(folder);
    QStringList distinct;
    for (int i = 0; i < 4; ++i) {
        const QString path = folder + QStringLiteral("/src%1.png").arg(i);
        GeneratePage(i % 2 == 0 ? A4TextPage(i == 2, 0.8 * i) : A4PicturePage(0.5)).image.save(path, "PNG");
        distinct.append(path);
    }
    for (int i = 0; i < kPages; ++i) {
        QFile::copy(distinct[i % 4], folder + QStringLiteral("/page%1.png").arg(i, 2, 10, QLatin1Char('0')));
    }
    for (const QString& path : distinct) {
        QFile::remove(path);
    }
}

void WaitUntil(const std::function<bool()>& done)
{
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

void DropFolder(CImageListCtrl& list, const QString& folder)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &drop);
}

bool JobRunning(const CImageListCtrl& list)
{
    return list.IsJobRunning() || list.IsRetryArmed();
}

double ExecuteAllPagesPerSecond(CImageListCtrl& list, const QString& folder)
{
    // Every run adjusts again: the results of the last one are cleared, as the
    // user clears them, and its files removed, so no overwrite question comes.
    theApp.m_pMainWnd->PostCommand(ID_EDIT_SELECT_ALL);
    theApp.m_pMainWnd->PostCommand(ID_EDIT_CLEAR);
    WaitUntil([&] { return !JobRunning(list) && list.GetImageInfo(0)->m_nAdjWidth == 0; });
    QDir(folder + QStringLiteral("/adj")).removeRecursively();
    QElapsedTimer timer;
    timer.start();
    theApp.m_pMainWnd->PostCommand(ID_EXECUTE_ALL);
    WaitUntil([&] { return list.IsJobRunning(); });
    WaitUntil([&] { return !JobRunning(list); });
    return kPages / (static_cast<double>(timer.nsecsElapsed()) / 1e9);
}

}  // namespace

int main(int argc, char* argv[])
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QTemporaryDir temp;
    QTemporaryDir work;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    SetTempRoot(MakePrivateTempRoot(temp.path()));
    theApp.m_strInstanceFolder = settings.path();
    SetMessageBoxAnswerer([](const QString& text, std::uint32_t) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return 1;
    });
    const QString folder = work.path() + QStringLiteral("/book");
    WritePages(folder);
    if (!theApp.InitInstance()) {
        return 1;
    }
    CImageListCtrl& list = theApp.m_pMainWnd->m_wndView->m_list;
    DropFolder(list, folder);
    WaitUntil([&] { return list.GetItemCount() == kPages && !JobRunning(list); });
    double best = 0.0;
    for (int run = 0; run < kRuns; ++run) {
        const double rate = ExecuteAllPagesPerSecond(list, folder);
        std::printf("run %d: %6.2f pages/s\n", run + 1, rate);
        best = std::max(best, rate);
    }
    std::printf("best of %d: %6.2f pages/s through the main window\n", kRuns, best);
    theApp.m_pMainWnd->close();
    theApp.ExitInstance();
    return 0;
}
