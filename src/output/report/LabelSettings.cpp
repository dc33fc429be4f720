#include "output/report/LabelSettings.h"

#include "common/Numbers.h"
#include "core/LocalConfig.h"
#include "db/DbError.h"

namespace {

[[noreturn]] void notANumber(const QString &text)
{
    throw KorvenaError(QStringLiteral("'") + text + QStringLiteral("' nem érvényes szám."));
}

double toDecimal(const QString &text)
{
    QString s = text.trimmed();
    const QChar mark = systemDecimalSeparator();
    if (mark != QLatin1Char('.')) {
        if (s.contains(QLatin1Char('.')))
            notANumber(text);
        s.replace(mark, QLatin1Char('.'));
    }
    bool ok = false;
    const double value = s.toDouble(&ok);
    if (!ok || s.isEmpty())
        notANumber(text);
    return value;
}

int toWhole(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        notANumber(text);
    return value;
}

QString decimalText(double value)
{
    return NumberText(value, systemDecimalSeparator());
}

} // namespace

LabelFields labelFieldsOf(const LocalConfig &config)
{
    return {decimalText(config.vkLeft),   decimalText(config.vkTop),
            decimalText(config.vkBcLeft), QString::number(config.vkColumn),
            decimalText(config.vkHeight), QString::number(config.vkHanyadik)};
}

void storeLabelFields(LocalConfig &config, const LabelFields &fields, int mode, int corner)
{
    config.vkLeft = toDecimal(fields.left);
    config.vkTop = toDecimal(fields.top);
    config.vkColumn = toWhole(fields.columns);
    config.vkHeight = toDecimal(fields.height);
    config.vkBcLeft = toDecimal(fields.indent);
    config.vkHanyadik = toWhole(fields.position);
    config.vkTipus = mode;
    config.vkHova = corner;
}

LabelSheet labelSheetOf(const LocalConfig &config)
{
    LabelSheet sheet;
    sheet.left = config.vkLeft;
    sheet.top = config.vkTop;
    sheet.columns = config.vkColumn;
    sheet.height = config.vkHeight;
    sheet.indent = config.vkBcLeft;
    return sheet;
}
