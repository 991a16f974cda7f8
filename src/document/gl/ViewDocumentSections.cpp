#include "document/gl/ViewDocumentSections.h"

#include "document/NUPO4DrawDocument.h"
#include "document/gl/DisplayColorSection.h"
#include "document/gl/PlotWindowsSection.h"

namespace nupo {

void addViewDocumentSections(NUPO4DrawDocument& document)
{
    document.addSection(std::make_unique<PlotWindowsSection>());
    document.addSection(std::make_unique<DisplayColorSection>());
}

}  // namespace nupo
