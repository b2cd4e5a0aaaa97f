// Loads any bytes as an option file, reads the settings from what it got, and
// checks that saving the document and loading it again gives it back.
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "settings/AdjustOption.h"
#include "settings/OptionFile.h"
#include "settings/OptionProfile.h"

namespace {

bool SameDocument(const CSectionArray& a, const CSectionArray& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].m_strName != b[i].m_strName || a[i].m_entries.size() != b[i].m_entries.size()) {
            return false;
        }
        for (qsizetype j = 0; j < a[i].m_entries.size(); ++j) {
            if (a[i].m_entries[j].m_strKey != b[i].m_entries[j].m_strKey ||
                a[i].m_entries[j].m_strValue != b[i].m_entries[j].m_strValue) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The working folder is the fuzz run's scratch folder.
    const QString input = QDir::current().filePath(QStringLiteral("fuzz-input.adjopt"));
    const QString output = QDir::current().filePath(QStringLiteral("fuzz-output.adjopt"));
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::abort();
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

    CSectionArray doc;
    QString error;
    if (!LoadOptionFile(doc, input, error) && error.isEmpty()) {
        std::abort();  // a failure always says why
    }

    COptionProfile profile(doc);
    theProfileRoute.m_pOptionDoc = &profile;
    theProfileRoute.m_bOptionFile = 1;
    CAdjustOption option;
    option.Load();
    theProfileRoute.m_bOptionFile = 0;
    theProfileRoute.m_pOptionDoc = nullptr;

    CSectionArray again;
    if (!SaveOptionFile(doc, output, error) || !LoadOptionFile(again, output, error) || !SameDocument(doc, again)) {
        std::abort();
    }
    return 0;
}
