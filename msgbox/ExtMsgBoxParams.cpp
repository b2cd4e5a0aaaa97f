#include "msgbox/ExtMsgBoxParams.h"

EXTMSGBOXPARAMS::EXTMSGBOXPARAMS()
    : dwHelpContextId(0),
      nTimeoutSeconds(0),
      nDisabledSeconds(0),
      x(0),
      y(0),
      dwOptions(0),
      hInstanceStrings(nullptr),
      nIdIcon(0),
      nIdCustomButtons(0),
      nIdReportButtonCaption(0),
      lpszModule(nullptr),
      nLine(0),
      dwReportUserData(0),
      lpReportFunc(nullptr),
      crText(EMB_NO_COLOR),
      crBackground(EMB_NO_COLOR),
      bUseUserDefinedButtonCaptions(0)
{
}
