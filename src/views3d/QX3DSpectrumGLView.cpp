#include "views3d/QX3DSpectrumGLView.h"

#include "analysis/QX3DSpectrum.h"
#include "shared/CoreState.h"

namespace nupo {

QX3DSpectrumGLView& QX3DSpectrumGLView::sharedQX3DSpectrumGLView()
{
    static QX3DSpectrumGLView* instance = new QX3DSpectrumGLView;  // lives to process end
    return *instance;
}

void QX3DSpectrumGLView::waven3DBSQC(int n)
{
    if (setPauseX.load(std::memory_order_relaxed) != 0 || n < 0 || n > 9)
        return;
    QX3DSpectrum::sharedQX3DSpectrum().waven(
        oneBrainwave.load(std::memory_order_relaxed), towBrainwave.load(std::memory_order_relaxed), n + 2,
        StartFrequencyXX.load(std::memory_order_relaxed), QX3DSpectrum::Target::RecordsOnly);
}

void QX3DSpectrumGLView::waven3DBS()
{
    QX3DSpectrum::sharedQX3DSpectrum().wavenOnSchedule(
        oneBrainwave.load(std::memory_order_relaxed), towBrainwave.load(std::memory_order_relaxed),
        shapeChange.load(std::memory_order_relaxed), StartFrequencyXX.load(std::memory_order_relaxed));
}

}  // namespace nupo
