#pragma once

#include "dialogs/OptionPage.h"

// File type, colour depth, palette, JPEG quality and the destination folder.
class COptionSavePage : public COptionPage {
    Q_OBJECT

public:
    explicit COptionSavePage(COptionPropertySheet& sheet);

    void LoadFromOptions() override;
    void SaveToOptions() override;
    // Gives its own verdict on the quality and the destination folder.
    bool OnKillActive() override;
    void UpdateControlStates();
    void OnBrowseFolder();

protected:
    void OnInitDialog() override;

private:
    void AddCombo(int id, QRect dlu, const QStringList& texts, const QList<int>& data);
    // Item data of the combo's selection, or the fallback without one.
    int GetSelectedData(int id, int fallback) const;
    void SelectData(int id, int data);
};
