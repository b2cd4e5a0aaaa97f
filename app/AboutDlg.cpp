#include "app/AboutDlg.h"

#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QUrl>
#include <QtMath>

#include <algorithm>

#include "app/AboutText.h"
#include "common/ErrorText.h"
#include "dialogs/DialogLayout.h"
#include "msgbox/ApplicationHelp.h"
#include "msgbox/DialogFrame.h"

namespace {

constexpr int kAboutTemplate = 100;
// The widest the box grows, in percent of the screen's width.
constexpr int kMostOfTheScreen = 90;

QString LinkText(const QString& target, const QString& text)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), text.toHtmlEscaped());
}

QString FolderLinkTarget()
{
    return QUrl::fromLocalFile(GetProgramFolder()).toString();
}

QStringList Wrap(const QString& text, int width, const QFontMetrics& metrics)
{
    return WrapAtSeparators(text, width, [&metrics](const QString& part) { return metrics.horizontalAdvance(part); });
}

// The pixels between a plain-text box's edge and its text, on each side.
int TextInset(const QPlainTextEdit& box)
{
    return box.frameWidth() + qCeil(box.document()->documentMargin());
}

// The width for the box's lines, with room for the cursor after a line's end.
int TextWidth(const QPlainTextEdit& box)
{
    return box.width() - 2 * TextInset(box) - box.cursorWidth();
}

// The height of the box's lines as it lays them out: Japanese letters come
// from a taller font than the box's own.
int LinesHeight(const QPlainTextEdit& box)
{
    qreal height = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        height += box.document()->documentLayout()->blockBoundingRect(block).height();
    return qCeil(height);
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent, kDialogFrame)
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
    // Lines are broken by the dialog, at path separators (FitToPaths).
    libraries->setLineWrapMode(QPlainTextEdit::NoWrap);
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
    FitToPaths(*libraries, *ok);
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

    m_btnInstallFolder->setText(LinkText(FolderLinkTarget(), GetProgramFolder()));
    // The last line's end would only add an empty line to scroll to.
    findChild<QPlainTextEdit*>(QStringLiteral("1139"))->setPlainText(GetArcLibLines().chopped(1));
}

void CAboutDlg::FitToPaths(QPlainTextEdit& libraries, QPushButton& ok)
{
    int wanted = m_btnInstallFolder->fontMetrics().horizontalAdvance(GetProgramFolder()) - m_btnInstallFolder->width();
    for (const QString& line : libraries.toPlainText().split(QLatin1Char('\n'))) {
        wanted = std::max(wanted, libraries.fontMetrics().horizontalAdvance(line) - TextWidth(libraries));
    }
    const int room = std::max(screen()->availableGeometry().width() * kMostOfTheScreen / 100 - width(), 0);
    Widen(std::clamp(wanted, 0, room), ok);
    WrapFolderLink();
    WrapLibraryLines(libraries);
}

// Wider by the extra pixels, with the OK button kept centred.
void CAboutDlg::Widen(int extra, QPushButton& ok)
{
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

// One link per line, all to the folder.
void CAboutDlg::WrapFolderLink()
{
    const QStringList lines = Wrap(GetProgramFolder(), m_btnInstallFolder->width(), m_btnInstallFolder->fontMetrics());
    if (lines.size() == 1) {
        return;
    }
    QStringList links;
    for (const QString& line : lines) {
        links.append(LinkText(FolderLinkTarget(), line));
    }
    m_btnInstallFolder->setText(links.join(QStringLiteral("<br>")));
    GrowDown(*m_btnInstallFolder, m_btnInstallFolder->sizeHint().height() - m_btnInstallFolder->height());
}

void CAboutDlg::WrapLibraryLines(QPlainTextEdit& libraries)
{
    QStringList lines;
    for (const QString& line : libraries.toPlainText().split(QLatin1Char('\n'))) {
        lines += Wrap(line, TextWidth(libraries), libraries.fontMetrics());
    }
    libraries.setPlainText(lines.join(QLatin1Char('\n')));
    GrowDown(libraries, LinesHeight(libraries) + 2 * TextInset(libraries) - libraries.height());
}

// Taller by the extra pixels, and with it the dialog; what lies below moves down.
void CAboutDlg::GrowDown(QWidget& control, int extra)
{
    if (extra <= 0) {
        return;
    }
    const int bottom = control.geometry().bottom();
    for (QWidget* other : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other->y() > bottom) {
            other->move(other->x(), other->y() + extra);
        }
    }
    control.resize(control.width(), control.height() + extra);
    setFixedHeight(height() + extra);
}
