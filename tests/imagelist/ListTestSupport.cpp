#include "ListTestSupport.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTest>

#include "common/TempRoot.h"
#include "imagelist/JobEvents.h"
#include "msgbox/ExtMsgBoxDefs.h"

CTestListCtrl::CTestListCtrl(CAdjustOption& option) : CImageListCtrl(option)
{
    // Cache files of this test run stay apart from those of other runs.
    static const QTemporaryDir root;
    SetTempRoot(root.path());
    SetStatusDisplay(&status);
    SetRibbon(&ribbon);
    SetPreview(&preview);
}

void CTestListCtrl::ClearCounts()
{
    progressEvents = 0;
    finishedEvents = 0;
    itemEvents.clear();
    messages.clear();
    status.started.clear();
    adjustCalls = 0;
    adjustThreads.clear();
}

QImage CTestListCtrl::AdjustPage(const QImage& source, CPageRecord& info, QString& message)
{
    ++adjustCalls;
    {
        std::lock_guard lock(threadsLock);
        adjustThreads.insert(std::this_thread::get_id());
    }
    return adjust ? adjust(source, info, message) : CImageListCtrl::AdjustPage(source, info, message);
}

int CTestListCtrl::AskOverwrite(const QString& text, std::uint32_t style)
{
    overwriteQuestions.emplace_back(text, style);
    if (overwriteAnswers.empty()) {
        return IDYES;
    }
    const int answer = overwriteAnswers.front();
    overwriteAnswers.pop_front();
    return answer;
}

int CTestListCtrl::ShowMessageBox(const QString& text, std::uint32_t type)
{
    messages.push_back(text);
    const std::uint32_t buttons = type & MB_TYPEMASK;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) {
        return answerQuestion ? answerQuestion(text) : IDYES;
    }
    return IDOK;
}

void CTestListCtrl::customEvent(QEvent* event)
{
    if (beforeEvent) {
        beforeEvent(event);
    }
    if (event->type() == CJobProgressEvent::EventType()) {
        ++progressEvents;
    } else if (event->type() == CItemProcessedEvent::EventType()) {
        const auto* item = static_cast<CItemProcessedEvent*>(event);
        itemEvents.emplace_back(item->m_nRow, !item->m_bitmap.isNull());
    } else if (event->type() == CJobFinishedEvent::EventType()) {
        ++finishedEvents;
    }
    CImageListCtrl::customEvent(event);
}

QImage QuickAdjust(const QImage& source, CPageRecord& info, QString&)
{
    info.m_nPageKind = 1;
    info.m_dSlantAngle = 0.0;
    return source.convertToFormat(QImage::Format_BGR888);
}

void WritePage(const QString& path, int width, int height)
{
    QImage page(width, height, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.fillRect(width / 4, height / 4, width / 2, height / 8, Qt::black);
    painter.end();
    page.save(path);
}

void WriteDamaged(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("\x89PNG\r\n\x1a\n this is not an image at all");
    }
}

CImageInfo& AddEntry(CTestListCtrl& list, const QString& path, const QString& origin)
{
    auto info = std::make_unique<CImageInfo>();
    info->m_strOrigin = origin.isEmpty() ? path : origin;
    info->m_strPath = path;
    info->m_bPending = 0;
    const QFileInfo status(path);
    info->Reset(status.size(), status.exists() ? status.lastModified().toSecsSinceEpoch() : -1);
    list.AppendEntry(std::move(info));
    return *list.GetImageInfo(list.GetItemCount() - 1);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

bool WaitIdle(const CImageListCtrl& list, int timeoutMs)
{
    return WaitUntil([&] { return !list.IsJobRunning() && !list.IsRetryArmed(); }, timeoutMs);
}
