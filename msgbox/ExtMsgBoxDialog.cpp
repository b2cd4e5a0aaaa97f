#include "msgbox/ExtMsgBoxDialog.h"

#include "msgbox/ApplicationHelp.h"
#include "msgbox/CopyTextToClipboard.h"
#include "msgbox/DialogFrame.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/ExtMsgBoxTemplate.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>

namespace {

constexpr int kTickMs = 1000;
constexpr int kTitleChars = 999;
constexpr int kMessageChars = 3999;
constexpr int kButtonCaptionChars = 198;
const QString kDashLine = QStringLiteral("---------------------------\r\n");

QRect ToQRect(const RECT& rect)
{
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

bool IsCommandButton(int id)
{
    return id >= IDOK && id <= IDCUSTOM4;
}

}  // namespace

CExtMsgBoxDialog::CExtMsgBoxDialog(CExtMsgBoxTemplate& box) : QDialog(nullptr), m_box(box)
{
    Qt::WindowFlags flags = kDialogFrame;
    if (m_box.m_nStyle & MB_TOPMOST)
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    // Modal, so that no modal window beneath blocks the box; a system-modal box
    // blocks every other window of the program, any other its owner's.
    setWindowModality((m_box.m_nStyle & MB_SYSTEMMODAL) ? Qt::ApplicationModal : Qt::WindowModal);
    setWindowTitle(m_box.m_strCaption);
    setFont(m_box.m_hFont);
    const DLGTEMPLATE& header = m_box.Header();
    setFixedSize(ToQRect(m_box.DialogUnitsToPixels(0, 0, header.cx, header.cy)).size());
    installEventFilter(this);
    CreateControls();
}

void CExtMsgBoxDialog::CreateControls()
{
    for (const auto& item : m_box.Items()) {
        QWidget* control = CreateControl(*item);
        const DLGITEMTEMPLATE& t = item->m_dlgItemTemplate;
        control->setGeometry(ToQRect(m_box.DialogUnitsToPixels(t.x, t.y, t.cx, t.cy)));
        control->setFont(m_box.m_hFont);
        control->installEventFilter(this);
        m_controls.emplace_back(t.id, control);
    }
}

QWidget* CExtMsgBoxDialog::CreateControl(const CExtMsgBoxItem& item)
{
    const int id = item.m_dlgItemTemplate.id;
    if (id == IDC_MSGBOX_ICON) {
        auto* icon = new QLabel(this);
        icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        icon->setPixmap(m_box.m_hIcon.pixmap(m_box.IconSize(), m_box.IconSize()));
        return icon;
    }
    if (id == IDC_MSGBOX_MESSAGE) {
        // Plain text: '&' and markup in file names are shown as they are.
        auto* message = new QLabel(this);
        message->setTextFormat(Qt::PlainText);
        message->setWordWrap(true);
        message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        message->setText(item.m_strCaption);
        if (m_box.m_crBackground.isValid() && m_box.m_crText.isValid()) {
            QPalette palette = message->palette();
            palette.setColor(QPalette::WindowText, m_box.m_crText);
            message->setPalette(palette);
        }
        return message;
    }
    if (item.IsCheckBox()) {
        auto* check = new QCheckBox(item.m_strCaption, this);
        connect(check, &QCheckBox::clicked, this, [this] { OnCommand(IDC_MSGBOX_CHECKBOX); });
        return check;
    }
    auto* button = new QPushButton(item.m_strCaption, this);
    button->setAutoDefault(true);
    button->setDefault((item.m_dlgItemTemplate.style & EMB_BS_DEFPUSHBUTTON) != 0);
    connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(static_cast<std::uint32_t>(id)); });
    return button;
}

QWidget* CExtMsgBoxDialog::GetDlgItem(int id) const
{
    for (const auto& [controlId, control] : m_controls)
        if (controlId == id)
            return control;
    return nullptr;
}

void CExtMsgBoxDialog::OnInitDialog()
{
    if (auto* check = qobject_cast<QCheckBox*>(GetDlgItem(IDC_MSGBOX_CHECKBOX)))
        check->setChecked(false);
    if (m_box.m_nDisabledSeconds > 0) {
        EnableButtons(false);
        m_bCloseEnabled = false;
    }
    if (!(m_box.Flags() & (EMB_FLAG_CANCEL | EMB_FLAG_OK)))
        m_bCloseEnabled = false;

    winId();
    if (m_box.m_pOwner && m_box.m_pOwner->window()->windowHandle())
        windowHandle()->setTransientParent(m_box.m_pOwner->window()->windowHandle());
    show();
    PlaceWindow();
    if (QWidget* defButton = GetDlgItem(m_box.DefaultButtonId()))
        defButton->setFocus();
    if (m_box.m_nTimeoutSeconds > 0)
        m_timeoutTimer.start(kTickMs, this);
    if (m_box.m_nDisabledSeconds > 0)
        m_disabledTimer.start(kTickMs, this);
    if (m_box.m_nStyle & MB_SETFOREGROUND)
        raise();
    activateWindow();
}

void CExtMsgBoxDialog::PlaceWindow()
{
    if (m_box.m_X != 0 || m_box.m_Y != 0) {
        move(m_box.m_X, m_box.m_Y);
        return;
    }
    QRect area;
    if (m_box.m_pOwner)
        area = m_box.m_pOwner->window()->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isEmpty())
        return;
    const QRect frame = frameGeometry();
    move(area.left() + (area.width() - frame.width()) / 2, area.top() + (area.height() - frame.height()) / 2);
}

void CExtMsgBoxDialog::EnableButtons(bool enable)
{
    for (const auto& [id, control] : m_controls)
        if (IsCommandButton(id) && qobject_cast<QAbstractButton*>(control))
            control->setEnabled(enable);
}

void CExtMsgBoxDialog::OnTimer(int id)
{
    if (id == 1) {
        if (m_box.m_nTimeoutSeconds < 1) {
            m_timeoutTimer.stop();
            OnCommand(static_cast<std::uint32_t>(m_box.DefaultButtonId()) | EMB_TIMEOUT_FLAG);
            return;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(m_box.DefaultButtonId()))) {
            if (!m_bDefaultButtonSaved) {
                m_szDefaultButton = button->text().left(MSGBOX_SLOT_CHARS - 1);
                m_bDefaultButtonSaved = true;
            }
            button->setText(QStringLiteral("%1 = %2").arg(m_szDefaultButton).arg(m_box.m_nTimeoutSeconds));
        }
        --m_box.m_nTimeoutSeconds;
        return;
    }
    if (id == 2) {
        if (m_box.m_nDisabledSeconds > 0) {
            setWindowTitle(m_box.m_strCaption + QLatin1Char(' ') + QString::number(m_box.m_nDisabledSeconds));
            --m_box.m_nDisabledSeconds;
            return;
        }
        m_disabledTimer.stop();
        EnableButtons(true);
        m_bCloseEnabled = (m_box.Flags() & (EMB_FLAG_CANCEL | EMB_FLAG_OK)) != 0;
        setWindowTitle(m_box.m_strCaption);
        repaint();
    }
}

void CExtMsgBoxDialog::StopCountdown()
{
    m_timeoutTimer.stop();
    // Before the first tick there is no saved caption, and the button keeps its own.
    if (!m_bDefaultButtonSaved)
        return;
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(m_box.DefaultButtonId())))
        button->setText(m_szDefaultButton);
}

void CExtMsgBoxDialog::OnCommand(std::uint32_t command)
{
    StopCountdown();
    switch (command) {
    case IDREPORT:
        if (m_box.m_lpReportFunc)
            m_box.m_lpReportFunc(m_box.m_strMsg, m_box.m_dwReportUserData);
        return;
    case IDC_MSGBOX_CHECKBOX:
    case IDCLOSE:
        return;
    case IDHELP:
        ShowHelp();
        return;
    case IDCANCEL:
        if (m_box.Flags() & EMB_FLAG_CANCEL)
            m_box.EndBox(IDCANCEL);
        else if (m_box.Flags() & EMB_FLAG_OK)
            m_box.EndBox(IDOK);
        return;
    default:
        m_box.EndBox(static_cast<int>(command | CheckBoxBits()));
        return;
    }
}

std::uint32_t CExtMsgBoxDialog::CheckBoxBits() const
{
    const auto* check = qobject_cast<const QCheckBox*>(GetDlgItem(IDC_MSGBOX_CHECKBOX));
    if (!check || !check->isChecked())
        return 0;
    return (m_box.Flags() & (EMB_FLAG_DONOTASKAGAIN | EMB_FLAG_DONOTTELLAGAIN | EMB_FLAG_DONOTSHOWAGAIN)) << 24;
}

void CExtMsgBoxDialog::ShowHelp() const
{
    if (m_box.m_dwHelpContextId == 0)
        return;
    AskApplicationHelp(m_box.m_dwHelpContextId + kHelpResourceBase, kHelpContext);
}

bool CExtMsgBoxDialog::OnCopyToClipboard(int key)
{
    if (key != Qt::Key_C)
        return false;
    QString text = kDashLine + windowTitle().left(kTitleChars) + QStringLiteral("\r\n") + kDashLine;
    if (const auto* message = qobject_cast<const QLabel*>(GetDlgItem(IDC_MSGBOX_MESSAGE)))
        text += message->text().left(kMessageChars) + QStringLiteral("\r\n") + kDashLine;
    for (const auto& [id, control] : m_controls)
        if (const auto* button = qobject_cast<const QAbstractButton*>(control))
            text += button->text().left(kButtonCaptionChars).remove(QLatin1Char('&')) + QStringLiteral("   ");
    text += QStringLiteral("\r\n") + kDashLine;
    CopyTextToClipboard(text);
    return true;
}

bool CExtMsgBoxDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if ((key->modifiers() & Qt::ControlModifier) && OnCopyToClipboard(key->key()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool CExtMsgBoxDialog::event(QEvent* event)
{
    if (event->type() == QEvent::NonClientAreaMouseButtonPress)
        StopCountdown();
    return QDialog::event(event);
}

void CExtMsgBoxDialog::mousePressEvent(QMouseEvent* event)
{
    StopCountdown();
    QDialog::mousePressEvent(event);
}

void CExtMsgBoxDialog::closeEvent(QCloseEvent* event)
{
    // The box closes only through its result; the close box acts as Escape.
    event->ignore();
    if (m_bCloseEnabled)
        OnCommand(IDCANCEL);
}

void CExtMsgBoxDialog::reject()
{
    // Escape answers only when the close box does, so not during the disabled period.
    if (m_bCloseEnabled)
        OnCommand(IDCANCEL);
}

void CExtMsgBoxDialog::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timeoutTimer.timerId())
        OnTimer(1);
    else if (event->timerId() == m_disabledTimer.timerId())
        OnTimer(2);
    else
        QDialog::timerEvent(event);
}

void CExtMsgBoxDialog::paintEvent(QPaintEvent* event)
{
    if (!m_box.m_crBackground.isValid()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.fillRect(QRect(0, 0, width(), m_box.MessageRect().bottom), m_box.m_crBackground);
}
