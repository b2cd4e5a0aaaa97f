#include "dialogs/SpinButtonCtrl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyleOption>
#include <QStylePainter>

#include <algorithm>

#include "settings/OptionProfile.h"

namespace {

constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 60;

}  // namespace

CSpinButtonCtrl::CSpinButtonCtrl(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void CSpinButtonCtrl::SetRange32(int low, int high)
{
    m_low = low;
    m_high = high;
}

void CSpinButtonCtrl::GetRange32(int& low, int& high) const
{
    low = m_low;
    high = m_high;
}

void CSpinButtonCtrl::SetPos32(int pos)
{
    m_pos = std::clamp(pos, std::min(m_low, m_high), std::max(m_low, m_high));
}

void CSpinButtonCtrl::SetBuddy(QLineEdit* edit)
{
    if (m_buddy != nullptr) {
        m_buddy->removeEventFilter(this);
        disconnect(m_buddy, nullptr, this, nullptr);
    }
    m_buddy = edit;
    if (edit == nullptr) {
        return;
    }
    edit->installEventFilter(this);
    connect(edit, &QObject::destroyed, this, [this] { m_buddy = nullptr; });
    const QRect area = edit->geometry();
    const int width = std::min(sizeHint().width(), area.width() / 2);
    edit->setGeometry(area.adjusted(0, 0, -width, 0));
    setGeometry(area.right() - width + 1, area.top(), width, area.height());
    setEnabled(edit->isEnabled());
}

QSize CSpinButtonCtrl::sizeHint() const
{
    return {std::max(12, fontMetrics().height() * 3 / 4), fontMetrics().height() + 6};
}

int CSpinButtonCtrl::StepTarget(int delta) const
{
    // The edit's integer is where a step starts; a text without one starts
    // at the kept position.
    int value = m_pos;
    if (m_buddy != nullptr) {
        const QString text = m_buddy->text().trimmed();
        if (!text.isEmpty() && text != u'-') {
            value = DecimalTextToInt(text);
        }
    }
    const qint64 next = qint64(value) + delta;
    return static_cast<int>(std::clamp<qint64>(next, std::min(m_low, m_high), std::max(m_low, m_high)));
}

void CSpinButtonCtrl::Step(int delta)
{
    const int value = StepTarget(m_low <= m_high ? delta : -delta);
    m_pos = value;
    if (m_buddy != nullptr) {
        m_buddy->setText(QString::number(value));
    }
}

void CSpinButtonCtrl::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        button.state |= (m_pressed == (i == 0 ? 1 : -1)) ? QStyle::State_Sunken : QStyle::State_Raised;
        painter.drawPrimitive(QStyle::PE_PanelButtonBevel, button);
        button.rect = halves[i].adjusted(2, 1, -2, -1);
        painter.drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, button);
    }
}

void CSpinButtonCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        return;
    }
    m_pressed = event->position().y() < height() / 2 ? 1 : -1;
    Step(m_pressed);
    m_repeatTimer = startTimer(kFirstRepeatMs);
    update();
}

void CSpinButtonCtrl::mouseReleaseEvent(QMouseEvent* /*event*/)
{
    StopRepeat();
}

void CSpinButtonCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_repeatTimer) {
        return;
    }
    killTimer(m_repeatTimer);
    m_repeatTimer = startTimer(kRepeatMs);
    Step(m_pressed);
}

void CSpinButtonCtrl::StopRepeat()
{
    if (m_repeatTimer != 0) {
        killTimer(m_repeatTimer);
    }
    m_repeatTimer = 0;
    m_pressed = 0;
    update();
}

bool CSpinButtonCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    if (watched == m_buddy && event->type() == QEvent::EnabledChange) {
        setEnabled(m_buddy->isEnabled());
    }
    return QWidget::eventFilter(watched, event);
}

void CSpinButtonCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        StopRepeat();
    }
    QWidget::changeEvent(event);
}
