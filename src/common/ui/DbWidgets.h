#pragma once

#include <QString>

class QComboBox;
class QLineEdit;

// Clears the box's items, adds firstItem when it is not empty, then the first column of
// every row of the query as text (NULL as empty text). A box that only allows choosing
// from its list and has items gets the first one selected.
void FillCombo(QComboBox *box, const QString &sql, const QString &firstItem);

// From now on, a letter a-z typed into the box while it is empty is upper-cased.
void UppercaseFirstKey(QLineEdit *box);
