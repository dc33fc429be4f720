#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's action and marker icons, drawn on a 32 x 32 canvas in one
// style (dark outline, flat fills) so toolbars, menus and the list agree.
namespace Icons {

// The icon of a main-window action by its object name (aUj, aNyomtat, ...) or
// of a toolbar drop-down ("Szures", "Jelol", "Nyomtat", "Statusz"); a null
// icon when the action has none.
QIcon action(const QString &name);

// Markers of the document list, 16 x 16.
QPixmap reminderMarker(); // the icon of aFigyelmeztet
QPixmap printMarker();    // the icon of aNyomtat
QPixmap lentOutMarker();
QPixmap placeholder(); // transparent
// The icon of aStatuszN (0 .. 9); the placeholder for any other number.
QPixmap statusMarker(int status);
QIcon statusIcon(int status);

} // namespace Icons
