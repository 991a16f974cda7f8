#pragma once

// The menu of brain-switch sources that the windows driven by a brain switch offer.

#include <QStringList>

namespace nupo {

// The source menu for a channel configuration (DeviceConfig 0..3); item i stands for source i. Another
// configuration gets the four-channel menu.
QStringList brainSourceItems(int deviceConfig);

}  // namespace nupo
