#include "dialogs/PageKindEnabling.h"

#include <QWidget>

namespace {

constexpr int IDC_PICTGROUP = 1120;

}  // namespace

void EnableByPageKind(QWidget& page, bool textPage, bool pictPage)
{
    bool enable = textPage;
    for (QObject* child : page.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control == nullptr) {
            continue;
        }
        if (control->objectName() == QString::number(IDC_PICTGROUP)) {
            enable = pictPage;
        }
        control->setEnabled(enable);
    }
}
