#pragma once

#include <QPixmap>

// The program's own pictures, drawn rather than shipped.
namespace Pictures {

// The splash logo: a stack of registered papers with the program's name, on a
// transparent background. size x size pixels.
QPixmap logo(int size = 512);
// The late-December variant: a fir tree with the name.
QPixmap seasonalLogo(int size = 300);
// A database drum, for the database choice.
QPixmap databaseIcon(int size = 48);

} // namespace Pictures
