#pragma once

#include "core/ui/ListScreen.h"
#include "masterdata/MasterData.h"

// frm_SqlValaszt: picks one row of an SQL result (the group picker).
class SqlPickerDialog : public ListScreen
{
    Q_OBJECT
public:
    static constexpr QLatin1StringView ObjectName{"frm_SqlValaszt"};
    SqlPickerDialog(QWidget *parent, const SqlPickRequest &request);

    // The key field of the current row (0 when NULL or none).
    int result() const;

private:
    SqlPickRequest m_request;
};
