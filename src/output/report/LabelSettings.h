#pragma once

#include "output/report/Reports.h"

#include <QString>

struct LocalConfig;

// The barcode dialog's six fields as typed.
struct LabelFields
{
    QString left;
    QString top;
    QString indent;
    QString columns;
    QString height;
    QString position;
};

// The fields as the dialog shows them (lengths with the user's decimal mark).
LabelFields labelFieldsOf(const LocalConfig &config);
// Converts the fields into the settings in the order left, top, columns, height,
// indent, position, then stores the two choices. The first field that is not a
// number throws KorvenaError: the fields before it keep their new values, the
// rest and the choices their old ones.
void storeLabelFields(LocalConfig &config, const LabelFields &fields, int mode, int corner);
// The label sheet the settings describe.
LabelSheet labelSheetOf(const LocalConfig &config);
