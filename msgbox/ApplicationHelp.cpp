#include "msgbox/ApplicationHelp.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>

#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/SystemMessageBox.h"

#include <climits>

namespace {

constexpr int kContentsPage = 128;

std::function<bool(const QUrl&)>& HelpOpener()
{
    static std::function<bool(const QUrl&)> opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

QString PagePath(int templateId)
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/help/%1.html").arg(templateId);
}

}  // namespace

QString GetHelpPagePath(int templateId)
{
    const QString page = PagePath(templateId);
    return QFileInfo::exists(page) ? page : PagePath(kContentsPage);
}

bool OpenHelpPage(int templateId)
{
    return OpenLink(QUrl::fromLocalFile(GetHelpPagePath(templateId)));
}

bool OpenLink(const QUrl& url)
{
    if (HelpOpener()(url))
        return true;
    // The desktop only writes its failure to the error output; the user is told here.
    const QString name = url.isLocalFile() ? url.toLocalFile() : url.toString();
    SystemMessageBox(QApplication::activeWindow(), name + QStringLiteral("\r\nを開けませんでした。"),
                     QGuiApplication::applicationDisplayName(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void SetHelpOpener(std::function<bool(const QUrl&)> opener)
{
    HelpOpener() = std::move(opener);
}

void AskApplicationHelp(quintptr data, unsigned command)
{
    const bool context = command == kHelpContext && data > kHelpResourceBase &&
                         data - kHelpResourceBase <= static_cast<quintptr>(INT_MAX);
    OpenHelpPage(context ? static_cast<int>(data - kHelpResourceBase) : kContentsPage);
}
