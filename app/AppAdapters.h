#pragma once

#include "dialogs/OptionFileMode.h"
#include "imagelist/ListApplication.h"

// The application object as the list sees it: its shared fonts, the debug
// switch and the stored column layout.
class CAppListLink final : public IListApplication {
public:
    QFont GetStatusFont() const override;
    QFont GetBoldFont() const override;
    bool IsDebugOn() const override;
    bool LoadColumnInfo(QByteArray& stream) override;
};

// The application's option document and option-file switch, for the options
// sheet's option-file buttons.
class CAppOptionFileMode final : public IOptionFileMode {
public:
    CSectionArray& GetOptionDocument() override;
    void SetOptionFileMode(BOOL on) override;
};
