#pragma once

class QWidget;

// The slant and colour pages: every control before the picture group
// (control 1120) follows textPage, the group and what follows pictPage.
void EnableByPageKind(QWidget& page, bool textPage, bool pictPage);
