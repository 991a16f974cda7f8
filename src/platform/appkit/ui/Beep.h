#pragma once

namespace nupo {

// The system alert sound (QApplication::beep). Counted, so tests can see that a failure beeped.
void beep();
int beepCount();

}  // namespace nupo
