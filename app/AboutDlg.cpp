#include "app/AboutDlg.h"

#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QtMath>

#include <algorithm>

#include "app/AboutText.h"
#include "common/ErrorText.h"
#include "dialogs/DialogLayout.h"
#include "msgbox/ApplicationHelp.h"

namespace {

constexpr int kAboutTemplate = 100;
// The widest the box grows, in percent of the screen's width.
constexpr int kMostOfTheScreen = 90;

QString LinkText(const QString& target, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), text.toHtmlEscaped());
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    const CDialogLayout layout(*this);
    layout.Resize(*this, 276, 155);
    setFixedSize(size());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    layout.Place(*ok, 114, 138, 48, 12);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/res/images/128.png")).pixmap(32, 32));
    icon->setGeometry(layout.X(12), layout.Y(12), 32, 32);

    AddStatic(QString(), 42, 12, 222, 8, 1141);
    AddStatic(QString(), 42, 24, 222, 8, 1142);
    AddStatic(QStringLiteral("インストール先フォルダ"), 42, 42, 222, 8);
    m_btnInstallFolder = AddStatic(QString(), 48, 53, 216, 12, 1004);
    AddStatic(QStringLiteral("書庫展開DLL"), 42, 66, 222, 8);
    auto* libraries = new QPlainTextEdit(this);
    libraries->setObjectName(QStringLiteral("1139"));
    libraries->setReadOnly(true);
    // Only a path longer than the widest box wraps (WidenToLibraryLines).
    libraries->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    libraries->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    libraries->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout.Place(*libraries, 48, 78, 216, 24);
    AddStatic(QStringLiteral("※64bitOSの場合、実際の場所は異なる場合があります。"), 48, 104, 216, 8);
    AddStatic(QStringLiteral("アイコンデザイン："), 42, 120, 70, 8);
    QLabel* credit = AddStatic(LinkText(QUrl::fromLocalFile(GetHelpPagePath(kAboutTemplate)).toString(),
                                        QStringLiteral("Folivane 開発チーム")),
                               114, 120, 150, 8, 1005);
    // Links open through the program, which tells the user when the desktop cannot.
    for (QLabel* link : {credit, m_btnInstallFolder}) {
        connect(link, &QLabel::linkActivated, this, [](const QString& target) { OpenLink(QUrl(target)); });
    }
    OnInitDialog();
    WidenToLibraryLines(*libraries, *ok);
}

QLabel* CAboutDlg::AddStatic(const QString& text, int x, int y, int cx, int cy, int id)
{
    auto* label = new QLabel(text, this);
    if (id >= 0) {
        label->setObjectName(QString::number(id));
    }
    CDialogLayout(*this).Place(*label, x, y, cx, cy);
    return label;
}

void CAboutDlg::OnInitDialog()
{
    QString name;
    QString version;
    QString legal;
    GetVersionStrings(name, version, legal);
    findChild<QLabel*>(QStringLiteral("1141"))->setText(name + QStringLiteral(" Ver ") + version);
    findChild<QLabel*>(QStringLiteral("1142"))->setText(legal);

    const QString folder = GetProgramFolder();
    m_btnInstallFolder->setText(LinkText(QUrl::fromLocalFile(folder).toString(), folder));
    // The last line's end would only add an empty line to scroll to.
    findChild<QPlainTextEdit*>(QStringLiteral("1139"))->setPlainText(GetArcLibLines().chopped(1));
}

// The library lines end in whole paths: the box widens until the longest line
// fits, up to most of the screen, and keeps its OK button centred; a line
// longer still wraps.
void CAboutDlg::WidenToLibraryLines(QPlainTextEdit& libraries, QPushButton& ok)
{
    int longest = 0;
    for (const QString& line : libraries.toPlainText().split(QLatin1Char('\n'))) {
        longest = std::max(longest, libraries.fontMetrics().horizontalAdvance(line));
    }
    const int margins =
        2 * (libraries.frameWidth() + qCeil(libraries.document()->documentMargin())) + libraries.cursorWidth();
    const int room = std::max(screen()->availableGeometry().width() * kMostOfTheScreen / 100 - width(), 0);
    const int wanted = longest + margins - libraries.width();
    if (wanted > room) {
        // Wrapped lines need a bar to reach the ones below.
        libraries.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    const int extra = std::clamp(wanted, 0, room);
    if (extra == 0) {
        return;
    }
    setFixedWidth(width() + extra);
    for (const char* id : {"1141", "1142", "1004", "1139"}) {
        QWidget* control = findChild<QWidget*>(QLatin1String(id));
        control->resize(control->width() + extra, control->height());
    }
    ok.move(ok.x() + extra / 2, ok.y());
}
