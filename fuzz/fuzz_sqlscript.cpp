// The script splitter: any script splits without a fault into trimmed, non-empty
// statements, and statements that hold nothing the splitter reads specially come
// back as they were when joined by ";".
#include "FuzzSupport.h"
#include "db/SqlScript.h"

#include <QStringList>

namespace {

bool plain(const QString &statement)
{
    for (const QChar c : statement) {
        if (QStringView(u";'\"`#-/\\").contains(c))
            return false;
    }
    return !statement.contains(QLatin1String("delimiter"), Qt::CaseInsensitive);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString script = textOf(data, size);
    const QStringList statements = SqlScript::split(script);
    QStringList plainOnes;
    for (const QString &s : statements) {
        FUZZ_CHECK(!s.isEmpty());
        FUZZ_CHECK(s == s.trimmed());
        if (plain(s))
            plainOnes << s;
    }
    if (!plainOnes.isEmpty())
        FUZZ_CHECK(SqlScript::split(plainOnes.join(QStringLiteral(";\n"))) == plainOnes);
    return 0;
}
