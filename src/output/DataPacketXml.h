#pragma once

#include "output/ExportProgress.h"

#include <QString>

class Dataset;
class QIODevice;

// Writes every field and every visible row of a row set as an XML data packet
// in the client data set format (DATAPACKET with METADATA/FIELDS and ROWDATA/ROW),
// UTF-8. A NULL value leaves its attribute out. The row set's current row is kept.
void writeDataPacket(Dataset &data, QIODevice &device, const ExportProgress &progress = {});
// The same into a file, created or replaced; throws with the system's message.
void writeDataPacketFile(Dataset &data, const QString &fileName, const ExportProgress &progress = {});
