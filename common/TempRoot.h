#pragma once

#include <QString>

// The program's temporary root folder (ends in a separator): the system's
// temporary folder + "FolivaneTmp/". Archive folders and the adjusted-result
// cache live below it. The folder is made private to the user on first use;
// when another user holds that name, a per-user name is used instead. The
// application may point it elsewhere at start-up.
QString GetTempRoot();
void SetTempRoot(const QString& folder);

// The private folder chosen under the temporary folder temp: temp +
// "/FolivaneTmp/", else temp + "/FolivaneTmp-<user id>/", else one in the
// user's cache folder.
QString MakePrivateTempRoot(const QString& temp);
