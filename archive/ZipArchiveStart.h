#pragma once

#include <QtGlobal>

class ZipSource;

// Where the archive begins in its source. Bytes in front of an archive (a
// program it was appended to) shift every offset its directory holds; the
// unzip layer allows for them by the distance between its end record and the
// end of the directory that record names, and so does this. An archive with
// zip64 end records begins at the start, as the unzip layer finds those
// records only there.
quint64 FindZipArchiveStart(const ZipSource& source);
