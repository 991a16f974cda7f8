#include "views3d/scene/gl/MeshControl.h"
#include "platform/gl/MeshShading.h"

#include <GL/gl.h>

namespace nupo {

MeshViewRequests& meshViewRequests()
{
    static auto* requests = new MeshViewRequests;  // lives to process end (frames may still use it)
    return *requests;
}

void postRedisplay()
{
    MeshViewRequests& requests = meshViewRequests();
    ++requests.redisplayCount;
    if (requests.redisplay)
        requests.redisplay();
}

void stopn()
{
    waving = 0;
}

void setSpeedn(int n)
{
    static constexpr float steps[] = {0.001f, 0.004f, 0.008f};
    if (n >= 0 && n < 3)
        dt = steps[n];
}

void setDisplayn(int mode)
{
    applyMeshShading(mode);
    postRedisplay();
}

void setOther(int n)
{
    switch (n) {
        case 0:
            if (meshViewRequests().fullScreen)
                meshViewRequests().fullScreen();
            break;
        case 1:
            drawFaceNorms = drawFaceNorms == 0 ? 1 : 0;
            break;
        case 2:
            antialias = antialias == 0 ? 1 : 0;
            applyLineAntialiasing(antialias != 0);
            break;
        case 3:
            envMap = envMap == 0 ? 1 : 0;
            glBindTexture(GL_TEXTURE_2D, envMap ? texId2 : texId1);
            applySphereMapping(envMap != 0);
            break;
        default:
            break;
    }
    postRedisplay();
}

void myReshapeXn(int width, int height)
{
    xsize = width;
    ysize = height;
}

}  // namespace nupo
