#pragma once

#include "dialogs/OptionPage.h"

// Brightness and grey tone of text pages, gamma and grey tone of picture pages.
class COptionColorPage : public COptionPage {
    Q_OBJECT

public:
    explicit COptionColorPage(COptionPropertySheet& sheet);

    void LoadFromOptions() override;
    void SaveToOptions() override;
    void OnSetActive() override;

protected:
    void OnInitDialog() override;

private:
    // A label, slider, edit with its up-down and reset button in one row.
    void AddValueRow(const QString& label, int top, int sliderId, int editId, int spinId, int low, int high,
                     int resetId, int resetValue);
    void SetValue(int sliderId, int editId, int value);
};
