#include "app/AboutDlg.h"

#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include "app/AboutText.h"
#include "common/ErrorText.h"
#include "dialogs/DialogLayout.h"
#include "msgbox/ApplicationHelp.h"

namespace {

constexpr int kAboutTemplate = 100;

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
    // As the template's edit: lines scroll with the caret, no bars take the lines' room.
    libraries->setLineWrapMode(QPlainTextEdit::NoWrap);
    libraries->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    libraries->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout.Place(*libraries, 48, 78, 216, 24);
    AddStatic(QStringLiteral("※64bitOSの場合、実際の場所は異なる場合があります。"), 48, 104, 216, 8);
    AddStatic(QStringLiteral("アイコンデザイン："), 42, 120, 70, 8);
    QLabel* credit = AddStatic(LinkText(QUrl::fromLocalFile(GetHelpPagePath(kAboutTemplate)).toString(),
                                        QStringLiteral("Folivane 開発チーム")),
                               114, 120, 150, 8, 1005);
    credit->setOpenExternalLinks(true);
    OnInitDialog();
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
    m_btnInstallFolder->setOpenExternalLinks(true);
    // The last line's end would only add an empty line to scroll to.
    findChild<QPlainTextEdit*>(QStringLiteral("1139"))->setPlainText(GetArcLibLines().chopped(1));
}
