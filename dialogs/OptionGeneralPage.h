#pragma once

#include "dialogs/OptionPage.h"

// Page kinds, writing direction, lines per page, the background border and
// colour, and the buttons that save and load option files.
class COptionGeneralPage : public COptionPage {
    Q_OBJECT

public:
    explicit COptionGeneralPage(COptionPropertySheet& sheet);

    void LoadFromOptions() override;
    void SaveToOptions() override;
    bool OnKillActive() override { return Validate(); }
    // Refuses a sheet without any page kind; stores the page kinds at once
    // and brings the numeric edits into range.
    bool Validate();

    void OnSaveOptionFile();
    void OnLoadOptionFile();

protected:
    void OnInitDialog() override;
};
