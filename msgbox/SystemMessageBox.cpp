#include "msgbox/SystemMessageBox.h"

#include "msgbox/DialogFrame.h"
#include "msgbox/ExtMsgBoxDefs.h"
#include "msgbox/MessageBoxAnswerer.h"
#include "msgbox/MsgBoxSlots.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace {

using ButtonList = std::vector<std::pair<QMessageBox::StandardButton, int>>;

ButtonList StandardButtonsOf(std::uint32_t type)
{
    switch (type) {
    case MB_OK:
        return {{QMessageBox::Ok, IDOK}};
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_CANCELTRYCONTINUE:
        return {
            {QMessageBox::Cancel, IDCANCEL}, {QMessageBox::NoButton, IDTRYAGAIN}, {QMessageBox::NoButton, IDCONTINUE}};
    default:
        return {};
    }
}

QMessageBox::Icon IconOf(std::uint32_t iconBits)
{
    switch (iconBits) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::Warning;
    }
}

// The toolkit has no try-again and continue buttons; they take the box's own captions.
QAbstractButton* AddButton(QMessageBox& box, QMessageBox::StandardButton standard, int id)
{
    if (standard != QMessageBox::NoButton)
        return box.addButton(standard);
    const int slot = id == IDTRYAGAIN ? SlotTryAgain : SlotContinue;
    return box.addButton(QString::fromUtf16(GetMsgBoxSlotInfo(slot).builtInText), QMessageBox::AcceptRole);
}

}  // namespace

int SystemMessageBox(QWidget* owner, const QString& text, const QString& caption, std::uint32_t style)
{
    const ButtonList buttons = StandardButtonsOf(style & MB_TYPEMASK);
    if (buttons.empty())
        return 0;
    if (const MessageBoxAnswerer& answer = GetMessageBoxAnswerer())
        return answer(text, style);
    QMessageBox box(IconOf(style & MB_ICONMASK), caption, text, QMessageBox::NoButton, owner);
    box.setWindowModality(Qt::ApplicationModal);
    // After the modality: the toolkit's box sets its window kind anew there.
    box.setWindowFlags(kDialogFrame);
    box.setTextFormat(Qt::PlainText);
    std::vector<std::pair<QAbstractButton*, int>> ids;
    for (const auto& [standard, id] : buttons)
        ids.emplace_back(AddButton(box, standard, id), id);

    const std::size_t defButton = (style & MB_DEFMASK) >> 8;
    box.setDefaultButton(qobject_cast<QPushButton*>(ids[defButton < ids.size() ? defButton : 0].first));
    for (const auto& [button, id] : ids)
        if (id == IDCANCEL || (id == IDOK && ids.size() == 1))
            box.setEscapeButton(button);
    box.exec();
    for (const auto& [button, id] : ids)
        if (box.clickedButton() == button)
            return id;
    return IDCANCEL;
}
