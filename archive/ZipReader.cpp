#include "archive/ZipReader.h"

#include "archive/ZipResult.h"
#include "archive/ZipUnpacker.h"

#include <utility>

CZipReader::~CZipReader()
{
    if (m_hZip != nullptr && m_hZip->kind == kZipHandleReader) {
        m_nLastResult = CloseUnzipHandle(m_hZip);
    }
    m_hZip = nullptr;
}

quint32 CZipReader::CheckHandle() const
{
    if (m_hZip == nullptr) {
        return kZipBadArguments;
    }
    return m_hZip->kind == kZipHandleReader ? kZipOk : kZipMixedModes;
}

bool CZipReader::KeepResult(quint32 result)
{
    m_nLastResult = result;
    SetZipLastResult(result);
    return result == kZipOk;
}

bool CZipReader::GetItem(int index, ZipEntry* entry)
{
    if (entry != nullptr) {
        entry->index = 0;
        entry->name.clear();
        entry->uncompressedSize = 0;
    }
    quint32 result = CheckHandle();
    if (result == kZipOk) {
        result = static_cast<ZipUnpacker*>(m_hZip->object)->GetEntry(index, entry);
    }
    return KeepResult(result);
}

bool CZipReader::UnzipItem(int index, void* buffer, unsigned length, unsigned* delivered)
{
    if (delivered != nullptr) {
        *delivered = 0;
    }
    quint32 result = CheckHandle();
    if (result == kZipOk) {
        result = static_cast<ZipUnpacker*>(m_hZip->object)->ExtractToMemory(index, buffer, length, delivered);
    }
    return KeepResult(result);
}

QString CZipReader::GetResultText(quint32 result)
{
    static const std::pair<quint32, const char*> texts[] = {
        {kZipOk, "正常終了"},
        {kZipHandleNotDuplicated, "ハンドルを複製できませんでした。"},
        {kZipCannotOpen, "ファイルを作成/オープンできませんでした。"},
        {kZipNoMemory, "メモリをアロケートできませんでした。"},
        {kZipWriteFailed, "ファイルへの書き込みに失敗しました。"},
        {kZipFileNotFound, "ZIPファイル内にファイルが見つかりませんでした。"},
        {kZipMoreData, "展開するデータがまだあります。"},
        {kZipCorrupt, "ZIPファイルが壊れているか、ZIPファイルではありません。"},
        {kZipReadFailed, "ファイルからの読み出しに失敗しました。"},
        {kZipBadPassword, "パスワードが違います。"},
        {kZipBadArguments, "Caller: faulty arguments"},
        {kZipNotMemoryZip, "Caller: can only get memory of a memory zipfile"},
        {kZipMemorySize, "Caller: not enough space allocated for memory zipfile"},
        {kZipPreviousError, "Caller: there was a previous error"},
        {kZipAlreadyEnded, "Caller: additions to the zip have already been ended"},
        {kZipWrongSize, "Caller: the anticipated size turned out wrong"},
        {kZipPartlyUnzipped, "Caller: the file had already been partially unzipped"},
        {kZipMixedModes, "Caller: mixing creation and opening of zip"},
        {kZipNotInitialised, "Bug: internal initialisation not completed"},
        {kZipUnseekable, "Bug: trying to seek the unseekable"},
        {kZipNoChange, "Bug: tried to change mind, but not allowed"},
        {kZipFlation, "Bug: an internal error during flation"},
    };
    for (const auto& [code, text] : texts) {
        if (code == result) {
            return QString::fromUtf8(text);
        }
    }
    return QStringLiteral("未知のエラーです。");
}

QString CZipReader::GetErrorText() const
{
    QString text = QStringLiteral("[ZIP] ") + GetResultText(m_nLastResult);
    if (!m_strArchivePath.isEmpty()) {
        text += QStringLiteral("\nFile: ") + m_strArchivePath;
    }
    return text;
}
