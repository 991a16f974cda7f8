#include "plots/frame/gl/FloorNormals.h"

#include "analysis/QX3DSpectrum.h"
#include "platform/gl/MeshNormals.h"

namespace nupo {

namespace {
constexpr int floorSide = 64;
}

void getFaceNormsAX()
{
    getFaceNormsOf(positAX, floorSide, floorSide, faceNormsAX);
}

void getVertNormsAX()
{
    getVertNormsOf(faceNormsAX, floorSide, floorSide, vertNormsAX);
}

void getFaceNormSegsAX()
{
    getFaceNormSegsOf(positAX, floorSide, floorSide, faceNormsAX, faceNormSegsAX);
}

}  // namespace nupo
