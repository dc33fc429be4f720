#pragma once

#include "core/Rights.h"

#include <QString>

// The one gate of every gated action: true when the session user holds the
// right; otherwise the refusal is shown and the action must do nothing else.
bool CheckRight(Right right);

// For the screens that refuse work on a write-protected register instead of
// disabling it: true when writing is allowed; otherwise the same refusal.
bool CheckWritable();

// "Nincs jogosultság a művelethez."
QString noRightMessage();
