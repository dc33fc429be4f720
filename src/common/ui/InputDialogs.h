#pragma once

#include <QDate>
#include <QString>

class QWidget;

// Asks for a whole number (frm_Inp). True when confirmed.
bool AskNumber(const QString &title, const QString &prompt, int &value, QWidget *parent = nullptr);
// Asks for a text or, in password mode, a masked one (frm_InpStr). maxLength -1: no limit.
bool AskText(const QString &title, const QString &prompt, bool password, int minLength, int maxLength,
             QString &text, QWidget *parent = nullptr);
// Asks for a period of two dates (frm_Idoszak); an empty title gives "Időszak megadása".
bool AskPeriod(QDate &first, QDate &last, const QString &title = QString(), QWidget *parent = nullptr);
