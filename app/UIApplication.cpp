#include "app/UIApplication.h"

#include "app/RibbonTarget.h"
#include "platform/ribbon/RibbonWidget.h"
#include "settings/Profile.h"

namespace {

const QString kRibbonState = QStringLiteral("RibbonState");

}  // namespace

void CUIApplication::OnViewChanged(RibbonViewVerb verb, CRibbonWidget& ribbon)
{
    QByteArray state;
    switch (verb) {
    case RibbonViewVerb::Create:
        m_handler.SetRibbon(&ribbon);
        if (GetProfileBinary(QString(), kRibbonState, state))
            ribbon.LoadSettings(state);
        break;
    case RibbonViewVerb::Destroy:
        WriteProfileBinary(QString(), kRibbonState, ribbon.SaveSettings());
        m_handler.SetRibbon(nullptr);
        break;
    case RibbonViewVerb::Size:
        m_target.SetRibbonHeight(ribbon.GetHeight());
        break;
    }
}
