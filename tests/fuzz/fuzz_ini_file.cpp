// INI files (config.ini, engine.ini, the lab's settings, skin.ini): any bytes. Every section
// and key found is read back as text and as a number, and the digital stamp is computed over
// the same bytes, as the lab configuration reads them.
#include "core/log.h"
#include "lab/stamp.h"
#include "platform/inifile.h"
#include "tests/fuzz/fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = WriteFuzzFile(data, size, "ini");
    const TIniFile ini(path);
    for (const QString& section : ini.ReadSections()) {
        for (const QString& key : ini.ReadSection(section)) {
            int value = 0;
            ParseIniInteger(ini.ReadString(section, key, QString()), value);
            ini.ReadInteger(section, key, -1);
        }
        ini.ReadSectionValues(section);
    }
    ComputeStamp(path);
    LogStore().Clear();
    return 0;
}
