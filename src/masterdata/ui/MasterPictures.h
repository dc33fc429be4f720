#pragma once

#include <QPixmap>

// Pictures of the master-data screens, drawn rather than shipped.
namespace MasterPictures {

// The two pictures of a flag column: a green tick for 'I', a grey empty box otherwise.
QPixmap flagOn(int size = 16);
QPixmap flagOff(int size = 16);
// The client editor's decorative pictures (0, 1, 2): an address card, an envelope, a building.
QPixmap clientPicture(int index, int size = 96);

} // namespace MasterPictures
