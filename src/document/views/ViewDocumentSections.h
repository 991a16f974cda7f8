#pragma once

namespace nupo {

class NUPO4DrawDocument;

// Adds the plot windows' sections: window state, then background colours.
void addViewDocumentSections(NUPO4DrawDocument& document);

}  // namespace nupo
