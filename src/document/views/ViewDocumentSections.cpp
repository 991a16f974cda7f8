#include "document/views/ViewDocumentSections.h"

#include "document/NUPO4DrawDocument.h"
#include "document/views/DisplayColorSection.h"
#include "document/views/PlotWindowsSection.h"

namespace nupo {

void addViewDocumentSections(NUPO4DrawDocument& document)
{
    document.addSection(std::make_unique<PlotWindowsSection>());
    document.addSection(std::make_unique<DisplayColorSection>());
}

}  // namespace nupo
