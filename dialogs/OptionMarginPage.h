#pragma once

#include "dialogs/MarginValidation.h"
#include "dialogs/OptionPage.h"

class QTabBar;

// How margins are cut: one set of controls for text and picture pages,
// chosen by a tab.
class COptionMarginPage : public COptionPage {
    Q_OBJECT

public:
    explicit COptionMarginPage(COptionPropertySheet& sheet);

    void SetControls(const CMarginValues& values);
    void LoadFromOptions() override;
    void SaveToOptions() override;
    // The cross-checks of the chosen mode, for a page kind that is on; a
    // failure shows its message and focuses the offending edit.
    bool Validate();
    void ShowTabControls();
    void OnSetActive() override { ShowTabControls(); }
    bool OnKillActive() override { return Validate(); }

    QTabBar* GetTab() const { return m_tab; }
    // The edit of a rectangle's side.
    static int EditId(MarginRect rect, MarginSide side);

protected:
    void OnInitDialog() override;

private:
    void AddRectRow(MarginRect rect, const QString& caption, int top);
    void OnTabChanged(int index);
    // Whether the page kind the controls hold is switched on.
    bool IsKindEnabled() const;
    CMarginValues GetControls() const;

    QTabBar* m_tab = nullptr;
    int m_nKind = 0;  // the page kind the controls hold
    bool m_bVetoing = false;
};
