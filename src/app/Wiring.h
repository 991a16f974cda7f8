#pragma once

namespace nupo {

// Connects the parts of the program that do not include each other: registers every window controller
// with the nib loader, installs the links by which lower layers reach the windows above them, and gives
// the shared document its sections. Called once by main() before anything opens, and by the ui test
// mains; a second call changes nothing.
void installLinks();

}  // namespace nupo
