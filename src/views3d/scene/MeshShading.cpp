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

void applyLineAntialiasing(bool on)
{
    if (on) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_LINE_SMOOTH);
        glLineWidth(1.5f);
    } else {
        glDisable(GL_BLEND);
        glDisable(GL_LINE_SMOOTH);
        glLineWidth(1.0f);
    }
}

}  // namespace nupo
