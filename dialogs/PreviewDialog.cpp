#include "dialogs/PreviewDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "dialogs/DialogLayout.h"
#include "dialogs/PreviewListNavigation.h"
#include "dialogs/PreviewProfile.h"
#include "msgbox/ApplicationHelp.h"
#include "platform/FileName.h"
#include "platform/WindowActivation.h"

namespace {

constexpr int kTemplateId = 171;
constexpr int kBandUnits = 18;
constexpr int kGap = 2;
const QString kMainFrameClass = QStringLiteral("QuenrickFolivaneMainFrmClass");

QLabel* AddStatic(QWidget& dialog, const CDialogLayout& layout, int id, const QString& text, int x, int width)
{
    auto* label = new QLabel(text, &dialog);
    label->setObjectName(QString::number(id));
    label->setTextFormat(Qt::PlainText);
    layout.Place(*label, x, 5, width, 8);
    return label;
}

QString FormatColor(const QString& format, COLORREF color)
{
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    return QString::asprintf(format.toUtf8().constData(), r, g, b, r, g, b);
}

}  // namespace

CPreviewDialog::CPreviewDialog(IPreviewListNavigation* pList, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowCloseButtonHint),
      m_pList(pList)
{
    setWindowTitle(QStringLiteral("プレビュー"));
    setWindowIcon(QIcon(QStringLiteral(":/res/images/172.png")));
    setSizeGripEnabled(false);
    CreateControls();
    m_strCaption = windowTitle();
    m_strZoomFormat = m_pZoomText->text();
    m_strColorFormat = m_pColorText->text();
    m_strInsFormat = m_pInsText->text();
    RestorePlacement();
    const bool grid = GetProfileInt(QString(), kGridOnKey, 1) != 0;
    m_pGrid->setChecked(grid);
    m_wndSource->SetGrid(grid);
    m_wndAdjusted->SetGrid(grid);
    UpdateZoomText();
    m_crPixel = RGB(0, 0, 0);
    m_pColorText->setText(FormatColor(m_strColorFormat, m_crPixel));
    UpdateInsText();
    LayoutControls();
}

CPreviewDialog::~CPreviewDialog()
{
    OnDestroy();
}

void CPreviewDialog::CreateControls()
{
    const CDialogLayout layout(*this);
    layout.Resize(*this, 453, 284);
    m_pZoomText = AddStatic(*this, layout, 1134, QStringLiteral("Zoom [%s %s]"), 6, 78);
    m_pColorText = AddStatic(*this, layout, 1135, QStringLiteral("RGB [%d %d %d #%02X%02X%02X]"), 90, 108);
    m_pInsText = AddStatic(*this, layout, 1136, QStringLiteral("Ins [%d %d %d #%02X%02X%02X]"), 204, 108);
    m_pGrid = new QCheckBox(QStringLiteral("&Grid"), this);
    m_pGrid->setObjectName(QStringLiteral("1137"));
    layout.Place(*m_pGrid, 318, 5, 36, 10);
    m_pHelp = new QPushButton(QStringLiteral("&Help"), this);
    m_pHelp->setObjectName(QStringLiteral("9"));
    m_pHelp->setAutoDefault(false);
    layout.Place(*m_pHelp, 360, 2, 36, 14);
    connect(m_pGrid, &QCheckBox::clicked, this, &CPreviewDialog::OnBnClickedGrid);
    connect(m_pHelp, &QPushButton::clicked, this, &CPreviewDialog::ShowHelp);
    m_wndSource = new CPreviewCtrl(this);
    m_wndSource->setObjectName(QStringLiteral("1"));
    m_wndAdjusted = new CPreviewCtrl(this);
    m_wndAdjusted->setObjectName(QStringLiteral("2"));
    // Keys pressed anywhere in the window go through the key table first.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    for (CPreviewCtrl* view : {m_wndSource, m_wndAdjusted})
        view->SetHost(this);
}

void CPreviewDialog::SetBoldFont(const QFont* pFont)
{
    m_wndSource->SetBoldFont(pFont);
    m_wndAdjusted->SetBoldFont(pFont);
}

void CPreviewDialog::UpdateCaption(const QString& path)
{
    setWindowTitle(path.isEmpty() ? m_strCaption
                                  : m_strCaption + QStringLiteral(" - ") + ShownFileName(QFileInfo(path).fileName()));
}

void CPreviewDialog::UpdateZoomText()
{
    m_pZoomText->setText(QString::asprintf(m_strZoomFormat.toUtf8().constData(),
                                           m_wndSource->GetZoomText().toUtf8().constData(),
                                           m_wndAdjusted->GetZoomText().toUtf8().constData()));
}

void CPreviewDialog::UpdateColorText(COLORREF color)
{
    if (color == m_crPixel)
        return;
    m_crPixel = color;
    m_pColorText->setText(FormatColor(m_strColorFormat, color));
}

void CPreviewDialog::UpdateInsText()
{
    m_pInsText->setText(FormatColor(m_strInsFormat, m_crPixel));
}

CPreviewCtrl* CPreviewDialog::GetPartnerView(const CPreviewCtrl& view)
{
    return &view == m_wndSource ? m_wndAdjusted : m_wndSource;
}

void CPreviewDialog::ZoomByWheel(CPreviewCtrl&, int delta, QPoint screenPoint, bool ctrl)
{
    if (delta == 0)
        return;
    const auto screenRect = [](const QWidget& w) { return QRect(w.mapToGlobal(QPoint(0, 0)), w.size()); };
    CPreviewCtrl* target = screenRect(*m_wndSource).contains(screenPoint)     ? m_wndSource
                           : screenRect(*m_wndAdjusted).contains(screenPoint) ? m_wndAdjusted
                                                                              : nullptr;
    if (target == nullptr)
        return;
    CPreviewCtrl* partner = GetPartnerView(*target);
    const auto zoom = delta < 0 ? &CPreviewCtrl::ZoomOut : &CPreviewCtrl::ZoomIn;
    (target->*zoom)(screenPoint);
    if (ctrl)
        (partner->*zoom)(screenPoint + screenRect(*partner).topLeft() - screenRect(*target).topLeft());
}

int CPreviewDialog::BandHeight() const
{
    return GetDialogUnitScale(*this).height() * kBandUnits / 100;
}

void CPreviewDialog::LayoutControls()
{
    if (m_wndSource == nullptr || m_wndAdjusted == nullptr)
        return;
    const QRect client = rect();
    const int half = (client.width() - kGap) / 2;
    const int band = BandHeight();
    const int height = client.height() - band;
    m_wndSource->setGeometry(client.left(), client.top() + band, half, height);
    m_wndAdjusted->setGeometry(client.left() + half + kGap, client.top() + band, client.width() - half - kGap, height);
}

void CPreviewDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayoutControls();
}

void CPreviewDialog::paintEvent(QPaintEvent*)
{
    const QRect client = rect();
    const int band = BandHeight();
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(QRect(client.left(), client.top(), client.width(), band), face);
    painter.fillRect(QRect(client.left() + (client.width() - kGap) / 2, band, kGap, client.height() - band), face);
}

void CPreviewDialog::OnBnClickedGrid()
{
    m_wndSource->SetGrid(m_pGrid->isChecked());
    m_wndAdjusted->SetGrid(m_pGrid->isChecked());
}

void CPreviewDialog::accept() {}

void CPreviewDialog::reject()
{
    hide();
}

void CPreviewDialog::ShowHelp()
{
    AskApplicationHelp(kHelpResourceBase + kTemplateId, kHelpContext);
}

void CPreviewDialog::BringMainWindowToTop()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == kMainFrameClass && window->windowHandle() != nullptr) {
            BringWindowToUser(*window->windowHandle());
            return;
        }
    }
}

QPoint GetWindowCenter(const QWidget& window)
{
    const QPoint topLeft = window.mapToGlobal(QPoint(0, 0));
    return {(2 * topLeft.x() + window.width()) / 2, (2 * topLeft.y() + window.height()) / 2};
}
