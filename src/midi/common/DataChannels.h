#pragma once

// The data channels (sources) both MIDI mappers offer: 0..3 the channels CH 1..CH 4, 4..9 the six
// coherence pairs.

#include <QString>
#include <QStringList>

namespace nupo {

// The text shown for a data channel 0..9 ("CH 1" for any other value).
QString dataChannelText(int channel);
// The data-channel popup's items for a channel configuration (number of EEG channels - 1).
QStringList dataChannelItems(int deviceConfig);

}  // namespace nupo
