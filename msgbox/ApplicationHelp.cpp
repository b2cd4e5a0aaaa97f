#include "msgbox/ApplicationHelp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>

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
    return HelpOpener()(QUrl::fromLocalFile(GetHelpPagePath(templateId)));
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
