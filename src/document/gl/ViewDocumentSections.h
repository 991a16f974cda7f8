#pragma once

namespace nupo {

class NUPO4DrawDocument;

// Adds the sections of the plot windows: window state, then background colours.
void addViewDocumentSections(NUPO4DrawDocument& document);

}  // namespace nupo
