#include "app/FileClipboard.h"

#include <QMimeData>
#include <QUrl>

#include "platform/FileName.h"

namespace {

const QString kGnomeCopiedFiles = QStringLiteral("x-special/gnome-copied-files");
const QString kKdeCutSelection = QStringLiteral("application/x-kde-cutselection");

}  // namespace

std::unique_ptr<QMimeData> MakeFileListMimeData(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    QByteArray gnome("copy");
    urls.reserve(paths.size());
    for (const QString& path : paths) {
        const QUrl url = FileUrl(path);
        urls.append(url);
        gnome += '\n' + url.toEncoded();
    }
    data->setUrls(urls);
    data->setData(kGnomeCopiedFiles, gnome);
    data->setData(kKdeCutSelection, QByteArray("0"));
    return data;
}

bool HasFileList(const QMimeData* data)
{
    return data && data->hasUrls();
}

QStringList ReadFileList(const QMimeData* data)
{
    QStringList paths;
    if (!HasFileList(data))
        return paths;
    for (const QUrl& url : data->urls()) {
        const QString path = LocalFileOf(url);
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}
