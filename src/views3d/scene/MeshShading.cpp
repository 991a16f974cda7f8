#include "views3d/scene/MeshShading.h"

#include <GL/gl.h>

namespace nupo {

void applyMeshShading(int mode)
{
    switch (mode) {
        case 0:
        case 1:
            glShadeModel(GL_FLAT);
            glDisable(GL_LIGHTING);
            break;
        case 2:
            glShadeModel(GL_FLAT);
            glEnable(GL_LIGHTING);
            break;
        case 3:
        case 4:
            glShadeModel(GL_SMOOTH);
            glEnable(GL_LIGHTING);
            break;
        default:
            break;
    }
}

}  // namespace nupo
