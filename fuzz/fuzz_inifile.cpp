// The local configuration file: any file content reads without a fault, and
// writing one value changes that value and no other.
#include "FuzzSupport.h"
#include "core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPair>

namespace {

using Entries = QHash<QPair<QString, QString>, QString>;

Entries entries(const IniFile &ini)
{
    Entries all;
    for (const QString &section : ini.sections()) {
        for (const QString &key : ini.keys(section)) {
            FUZZ_CHECK(ini.hasKey(section, key));
            const QPair<QString, QString> name(section.toLower(), key.toLower());
            if (!all.contains(name))
                all.insert(name, ini.readString(section, key));
        }
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QDir::tempPath() + QStringLiteral("/korvena_fuzz_%1.ini").arg(getpid());
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    IniFile ini(path);
    ini.setLocale(QLocale::c());
    const Entries before = entries(ini);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        ini.readInt(it.key().first, it.key().second, 7);
        ini.readBool(it.key().first, it.key().second, true);
        ini.readReal(it.key().first, it.key().second, 1.5);
    }
    if (before.isEmpty())
        return 0;

    const auto target = before.cbegin().key();
    const QString value = QStringLiteral("Érték ő=ű;[x]");
    if (!ini.writeString(target.first, target.second, value))
        return 0;
    FUZZ_CHECK(ini.readString(target.first, target.second) == value);
    Entries after = entries(ini);
    FUZZ_CHECK(after.value(target) == value);
    after.insert(target, before.value(target));
    FUZZ_CHECK(after == before);
    return 0;
}
