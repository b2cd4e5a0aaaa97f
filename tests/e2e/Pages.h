#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "settings/AdjustOption.h"

// Slanted book pages with known answers, small enough for a quick journey,
// and what a reader of the output sees of them.

// A text page turned by slant, with a dark rim along two edges and dust spots.
QImage SlantedPage(double slant, int seed = 1);
// The straight text block of SlantedPage, before margins are added.
QSize SlantedPageContent();
// Straighten text pages and cut them to their content, ignoring rims and spots.
void StraightenAndCut(CAdjustOption& option);
// The settings of StraightenAndCut written into the user's settings file.
void WriteStraightenAndCut(class QSettings& settings);

// The slant of a page measured again as a text page; NaN when it has none.
double MeasureSlant(const QString& path);
// The output is the content with the added margins: about 110 % of the block.
bool IsCutToContent(const QImage& output);
